// MainWindow: the widgets at their reference geometry, the rendering of TMainForm's state and
// the forwarding of user events to its handlers.
#include "shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <climits>

#include "form/main_menu.h"
#include "shell/error_handler.h"
#include "shell/hex_view/hex_view.h"
#include "shell/info_form.h"
#include "shell/menu_bar_view.h"
#include "shell/shell_texts.h"
#include "shell/text_fit.h"

namespace tarvik {

namespace {

// The client area below the menu bar, and the controls' reference geometry in it.
constexpr int kClientWidth = 868;
constexpr int kClientHeight = 626;
constexpr int kStatusBarHeight = 19;
constexpr std::array kStatusPanelWidths{500, 150, 50};

struct Place {
    std::string_view name;
    int left, top, width, height;
};

constexpr std::array kButtonPlaces{
    Place{"bProg", 672, 424, 89, 25},         Place{"bVergl", 768, 424, 89, 25},
    Place{"bAuslesen", 672, 456, 89, 25},     Place{"bLoesch", 768, 456, 89, 25},
    Place{"bDetectDevice", 672, 488, 89, 25}, Place{"bWriteFuse", 768, 488, 89, 25},
    Place{"bprogeeprom", 672, 520, 185, 25},  Place{"breadeeprom", 672, 552, 185, 25},
};

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QRect rectOf(const Place& place) {
    return {place.left, place.top, place.width, place.height};
}

template <typename Widget>
void setTextIfChanged(Widget* widget, const std::string& text) {
    const QString wanted = QString::fromStdString(text);
    if (widget->text() != wanted)
        widget->setText(wanted);
}

// The caption of a label or button of a fixed size: set when it changes, and fitted to its box.
template <typename Widget>
void setCaption(Widget* widget, const std::string& text) {
    const QString wanted = QString::fromStdString(text);
    if (widget->text() == wanted)
        return;
    widget->setText(wanted);
    fitText(widget);
}

QLineEdit* readOnlyEdit(QWidget* parent, QRect geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    edit->setGeometry(geometry);
    return edit;
}

QLabel* groupLabel(QWidget* parent, QPoint position, int width) {
    auto* label = new QLabel(parent);
    label->setGeometry(position.x(), position.y() - 1, width, 17);
    return label;
}

} // namespace

MainWindow::MainWindow(THidDeviceController& hidCtl, SettingsStore& settings, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint),
      form_(std::make_unique<TMainForm>(hidCtl, settings, *this)) {
    buildControls();
    renderTimer_.setSingleShot(true);
    connect(&renderTimer_, &QTimer::timeout, this, [this] {
        renderQueued_ = false;
        renderNow();
    });
    form_->OnChange = [this] { scheduleRender(); };
    renderNow();
}

MainWindow::~MainWindow() {
    // The model goes first: it detaches from the controller while the widgets still exist.
    form_->OnChange = nullptr;
    form_.reset();
}

void MainWindow::buildControls() {
    auto* client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight - kStatusBarHeight);
    setCentralWidget(client);

    Hexeditor = new HexView(form_->Hexeditor, client);
    Hexeditor->setGeometry(8, 0, 649, 601);

    GBDevice = new QGroupBox(client);
    GBDevice->setGeometry(672, 0, 185, 97);
    Device = readOnlyEdit(GBDevice, {8, 16, 169, 21});
    Label1 = groupLabel(GBDevice, {8, 42}, 64);
    AutoDevice = readOnlyEdit(GBDevice, {72, 40, 105, 21});
    Label2 = groupLabel(GBDevice, {8, 66}, 88);
    CodeSize = readOnlyEdit(GBDevice, {96, 64, 81, 21});
    Label3 = groupLabel(GBDevice, {8, 90}, 169);

    FuseList = new QListWidget(client);
    FuseList->setGeometry(672, 104, 185, 153);
    connect(FuseList, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { fuseItemChanged(item); });

    Verlauf = new QPlainTextEdit(client);
    Verlauf->setGeometry(672, 264, 185, 153);
    Verlauf->setReadOnly(true);
    Verlauf->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Verlauf->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    for (const menu::ButtonEntry& entry : menu::kButtons) {
        auto* button = new QPushButton(client);
        button->setObjectName(qText(entry.name));
        const auto place = std::find_if(kButtonPlaces.begin(), kButtonPlaces.end(),
                                        [&](const Place& p) { return p.name == entry.name; });
        button->setGeometry(rectOf(*place));
        const auto handler = entry.handler;
        connect(button, &QPushButton::clicked, this, [this, handler] { call(handler); });
        buttons_.emplace(std::string(entry.name), button);
    }

    Gauge1 = new QProgressBar(client);
    Gauge1->setGeometry(672, 584, 185, 17);
    Gauge1->setOrientation(Qt::Horizontal);
    Gauge1->setTextVisible(false);
    Gauge1->setStyleSheet("QProgressBar { border: 1px solid #808080; background: white; }"
                          "QProgressBar::chunk { background: #0000FF; }");

    QStatusBar* status = statusBar();
    status->setSizeGripEnabled(false);
    status->setFixedHeight(kStatusBarHeight);
    for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
        StatusPanels[i] = new QLabel(status);
        StatusPanels[i]->setMinimumWidth(kStatusPanelWidths[i]);
        // The last panel takes what is left of the bar, so a large size isn't cut off.
        if (i + 1 < StatusPanels.size())
            StatusPanels[i]->setFixedWidth(kStatusPanelWidths[i]);
        status->addWidget(StatusPanels[i], i + 1 < StatusPanels.size() ? 0 : 1);
    }

    menuBar_ = std::make_unique<MenuBarView>(*menuBar(), *this);

    setAcceptDrops(true);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void MainWindow::call(void (TMainForm::*handler)()) {
    call([this, handler] { (form_.get()->*handler)(); });
}

void MainWindow::call(const std::function<void()>& action) {
    runGuarded(action, [this](std::string_view text) { showApplicationError(text); });
    // A user's action shows its effect at once; changes from the programmer's reports are
    // rendered once per event-loop turn.
    renderNow();
}

bool MainWindow::openFile(const QString& path) {
    renderNow();
    const QAction* open = action("nopen");
    if (!open || !open->isEnabled())
        return false;
    pendingOpen_ = path;
    call([this] { form_->OpenBufferFile(); }); // as File > Open does: into the flash buffer
    pendingOpen_.reset();
    return true;
}

void MainWindow::scheduleRender() {
    if (renderQueued_)
        return;
    renderQueued_ = true;
    // A job's reports come about one a millisecond: rendering each would cost the job more time
    // than the bus does. While a job runs, the gauge and the log follow at most once per render
    // interval; otherwise every change shows in the next event-loop pass.
    QMetaObject::invokeMethod(
        this,
        [this] {
            const auto since = std::chrono::steady_clock::now() - lastRender_;
            if (form_->JobRunning() && since < kRenderInterval) {
                renderTimer_.start(
                    std::chrono::ceil<std::chrono::milliseconds>(kRenderInterval - since));
                return;
            }
            renderQueued_ = false;
            renderNow();
        },
        Qt::QueuedConnection);
}

void MainWindow::renderNow() {
    if (!form_ || rendering_)
        return;
    rendering_ = true;
    const TMainForm& form = *form_;
    const QString caption = QString::fromStdString(form.Caption);
    if (windowTitle() != caption)
        setWindowTitle(caption);
    menuBar_->render(form);

    if (GBDevice->title() != QString::fromStdString(form.GBDevice.caption))
        GBDevice->setTitle(QString::fromStdString(form.GBDevice.caption));
    setCaption(Label1, form.Label1.caption);
    setCaption(Label2, form.Label2.caption);
    setCaption(Label3, form.Label3.caption);
    setTextIfChanged(Device, form.Device.text);
    setTextIfChanged(AutoDevice, form.AutoDevice.text);
    setTextIfChanged(CodeSize, form.CodeSize.text);

    for (const menu::ButtonEntry& entry : menu::kButtons) {
        const Button& model = form.*(entry.button);
        QPushButton* button = buttons_.at(std::string(entry.name));
        setCaption(button, model.caption);
        button->setEnabled(model.enabled);
    }

    renderFuseList();
    renderLog();

    const int maximum = int(std::clamp<std::int64_t>(form.Gauge1.maxValue, 0, INT_MAX));
    // A range of 0..0 would turn the bar into a busy indicator: an empty gauge stays empty.
    Gauge1->setRange(0, std::max(maximum, 1));
    Gauge1->setValue(int(std::clamp<std::int64_t>(form.Gauge1.progress, 0, maximum)));

    for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
        setTextIfChanged(StatusPanels[i], form.StatusBar.panels[i]);
        StatusPanels[i]->setToolTip(StatusPanels[i]->text());
    }

    Hexeditor->refresh();
    if (form.FuseQuestion.asked && !questionOpen_) {
        // Asked from the event loop, not from inside the rendering.
        questionOpen_ = true;
        QMetaObject::invokeMethod(
            this, [this] { askQuestion(); }, Qt::QueuedConnection);
    }
    lastRender_ = std::chrono::steady_clock::now();
    rendering_ = false;
}

void MainWindow::askQuestion() {
    const Question question = form_->FuseQuestion;
    if (!question.asked) {
        questionOpen_ = false;
        return;
    }
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(question.title),
                    QString::fromStdString(question.text), QMessageBox::NoButton, this);
    const QPushButton* yes =
        box.addButton(QString::fromStdString(question.yesCaption), QMessageBox::YesRole);
    QPushButton* no =
        box.addButton(QString::fromStdString(question.noCaption), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    const bool agreed = box.clickedButton() == yes;
    questionOpen_ = false;
    call([this, agreed] { form_->FuseQuestionAnswered(agreed); });
}

void MainWindow::renderFuseList() {
    const CheckList& model = form_->FuseList;
    const QSignalBlocker blocker(FuseList);
    if (FuseList->count() != int(model.items.size())) {
        FuseList->clear();
        for (std::size_t i = 0; i < model.items.size(); ++i)
            FuseList->addItem(QString());
    }
    for (std::size_t i = 0; i < model.items.size(); ++i) {
        const CheckListItem& entry = model.items[i];
        QListWidgetItem* item = FuseList->item(int(i));
        const QString text = QString::fromStdString(entry.text);
        if (item->text() != text)
            item->setText(text);
        // A disabled entry still shows its mark; it just can't be toggled.
        const Qt::ItemFlags flags =
            Qt::ItemIsUserCheckable | Qt::ItemIsSelectable |
            (entry.enabled ? Qt::ItemIsEnabled : Qt::ItemFlags(Qt::NoItemFlags));
        if (item->flags() != flags)
            item->setFlags(flags);
        const Qt::CheckState state = entry.checked ? Qt::Checked : Qt::Unchecked;
        // A new item has no check state yet, and so no check box: set it even when unchecked.
        if (!item->data(Qt::CheckStateRole).isValid() || item->checkState() != state)
            item->setCheckState(state);
    }
    FuseList->setEnabled(model.enabled);
}

void MainWindow::fuseItemChanged(QListWidgetItem* item) {
    const int index = FuseList->row(item);
    CheckList& model = form_->FuseList;
    if (index < 0 || std::size_t(index) >= model.items.size())
        return;
    CheckListItem& entry = model.items[std::size_t(index)];
    const bool checked = item->checkState() == Qt::Checked;
    if (checked == entry.checked)
        return;
    if (!model.enabled || !entry.enabled) {
        scheduleRender();
        return;
    }
    entry.checked = checked;
    call([this, index] { form_->FuseListClickCheck(index); });
}

void MainWindow::renderLog() {
    const Memo& log = form_->Verlauf;
    if (log.clears != shownLogClears_ || log.lines.size() < shownLogLines_) {
        Verlauf->clear();
        shownLogClears_ = log.clears;
        shownLogLines_ = 0;
    }
    if (log.lines.size() == shownLogLines_)
        return;
    QStringList lines;
    for (std::size_t i = shownLogLines_; i < log.lines.size(); ++i)
        lines << QString::fromStdString(log.lines[i]);
    shownLogLines_ = log.lines.size();
    Verlauf->appendPlainText(lines.join('\n'));
    Verlauf->verticalScrollBar()->setValue(Verlauf->verticalScrollBar()->maximum());
}

QPushButton* MainWindow::button(std::string_view name) const {
    const auto it = buttons_.find(name);
    return it == buttons_.end() ? nullptr : it->second;
}

QAction* MainWindow::action(std::string_view name) const {
    return menuBar_->action(name);
}

std::vector<QPushButton*> MainWindow::buttons() const {
    std::vector<QPushButton*> all;
    for (const menu::ButtonEntry& entry : menu::kButtons)
        all.push_back(buttons_.at(std::string(entry.name)));
    return all;
}

std::vector<QLabel*> MainWindow::labels() const {
    return {Label1, Label2, Label3};
}

void MainWindow::showErrorBox(std::string_view text) {
    showErrorMessage(this, text);
}

void MainWindow::showApplicationError(std::string_view text) {
    showErrorMessage(this, text.empty() ? pick(texts::kUnknownError, form_->LanguageCode) : text);
}

void MainWindow::showInfoWindow() {
    if (infoForm_)
        infoForm_->showInFront();
}

void MainWindow::closeMainWindow() {
    // Closing from inside a handler: let the handler return first.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::closeWithoutAsking() {
    closeWithoutAsking_ = true;
    close();
}

bool MainWindow::askYesNo(std::string_view question, std::string_view yes, std::string_view no) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tarvik"),
                    QString::fromUtf8(question.data(), qsizetype(question.size())),
                    QMessageBox::NoButton, this);
    QPushButton* yesButton =
        box.addButton(QString::fromUtf8(yes.data(), qsizetype(yes.size())), QMessageBox::YesRole);
    QPushButton* noButton =
        box.addButton(QString::fromUtf8(no.data(), qsizetype(no.size())), QMessageBox::NoRole);
    box.setDefaultButton(noButton);
    box.setEscapeButton(noButton);
    execRendering(box);
    return box.clickedButton() == yesButton;
}

void MainWindow::execRendering(QDialog& box) {
    // A question asked from inside a handler holds back the model's change notice until the
    // handler returns; the reports that arrive meanwhile still move the gauge and the log.
    QTimer repaint;
    connect(&repaint, &QTimer::timeout, this, [this] { renderNow(); });
    repaint.start(50);
    box.exec();
}

std::size_t MainWindow::askChoice(std::string_view question,
                                  std::span<const std::string_view> answers,
                                  std::size_t defaultAnswer) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tarvik"), qText(question),
                    QMessageBox::NoButton, this);
    std::vector<QPushButton*> buttons;
    for (std::string_view answer : answers)
        buttons.push_back(box.addButton(qText(answer), QMessageBox::AcceptRole));
    if (defaultAnswer < buttons.size()) {
        box.setDefaultButton(buttons[defaultAnswer]);
        box.setEscapeButton(buttons[defaultAnswer]);
    }
    execRendering(box);
    const auto chosen = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    return chosen == buttons.end() ? defaultAnswer : std::size_t(chosen - buttons.begin());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!closed_ && !closeWithoutAsking_) {
        bool canClose = true;
        call([&] { form_->FormCloseQuery(canClose); });
        if (!canClose) {
            event->ignore();
            return;
        }
    }
    if (!closed_) {
        closed_ = true;
        call(&TMainForm::FormClose);
        if (infoForm_)
            infoForm_->hide();
    }
    event->accept();
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && infoForm_ &&
        infoForm_->isVisible())
        infoForm_->Panel2Click();
    QMainWindow::changeEvent(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        if (onFirstShown)
            onFirstShown();
    }
}

std::optional<QString> MainWindow::droppedFile(const QDropEvent& event) const {
    const QList<QUrl> urls = event.mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return std::nullopt;
    // Whatever the name, the open tells what the file is, or says why it is not loaded.
    return urls.front().toLocalFile();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QAction* open = action("nopen");
    if (open && open->isEnabled() && droppedFile(*event))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (const auto path = droppedFile(*event); path && openFile(*path))
        event->acceptProposedAction();
}

} // namespace tarvik
