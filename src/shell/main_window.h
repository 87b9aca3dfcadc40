// The Qt main window: a passive view of TMainForm. It lays out the controls at their reference
// geometry, renders the model's state after every change (once per event-loop turn), forwards
// every user event to the model's handler through the general error handler, and serves the
// model as its FormHost (file dialogs, message boxes, the info window, closing).
#pragma once

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/form_host.h"
#include "form/main_form.h"

class QAction;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace tarvik {

class HexView;
class TInfoForm;
class MenuBarView;

class MainWindow : public QMainWindow, public FormHost {
    Q_OBJECT
public:
    // Builds TMainForm first (its construction searches for the programmer), then the widgets.
    MainWindow(THidDeviceController& hidCtl, SettingsStore& settings, QWidget* parent = nullptr);
    ~MainWindow() override;

    TMainForm& form() { return *form_; }
    void setInfoForm(TInfoForm* infoForm) { infoForm_ = infoForm; }

    // Runs a model handler under the general error handler, then brings the view up to date.
    void call(void (TMainForm::*handler)());
    void call(const std::function<void()>& action);
    // Opens a file as File → Open does, with this name in place of the dialog's answer.
    // Refused (false) while File → Open is not available, as during a job.
    bool openFile(const QString& path);
    // Brings every widget in line with the model now (normally queued after OnChange).
    void renderNow();
    // Closes as a termination signal does: a running job is abandoned without a question.
    void closeWithoutAsking();

    // Called once, when the window is first shown.
    std::function<void()> onFirstShown;

    // FormHost
    bool executeOpenDialog(FileDialog& dialog) override;
    bool executeSaveDialog(FileDialog& dialog) override;
    void showErrorBox(std::string_view text) override;
    void showApplicationError(std::string_view text) override;
    void showInfoWindow() override;
    void closeMainWindow() override;
    bool askYesNo(std::string_view question, std::string_view yes, std::string_view no) override;
    std::size_t askChoice(std::string_view question, std::span<const std::string_view> answers,
                          std::size_t defaultAnswer) override;

    // The widgets, named as the model's controls.
    HexView* Hexeditor = nullptr;
    QGroupBox* GBDevice = nullptr;
    QLineEdit* Device = nullptr;
    QLineEdit* AutoDevice = nullptr;
    QLineEdit* CodeSize = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QListWidget* FuseList = nullptr;
    QPlainTextEdit* Verlauf = nullptr;
    QProgressBar* Gauge1 = nullptr;
    std::array<QLabel*, 3> StatusPanels{};
    QPushButton* button(std::string_view name) const;
    QAction* action(std::string_view name) const; // a menu entry by its name
    std::vector<QPushButton*> buttons() const;
    std::vector<QLabel*> labels() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildControls();
    void scheduleRender();
    void renderFuseList();
    void renderLog();
    void fuseItemChanged(QListWidgetItem* item);
    // The model's open question as a modal message box; the answer goes back to the model.
    void askQuestion();
    bool runFileDialog(FileDialog& dialog, bool save);
    // Runs a modal question asked from inside a handler, rendering the model meanwhile.
    void execRendering(QDialog& box);
    std::optional<QString> droppedFile(const QDropEvent& event) const;

    std::unique_ptr<TMainForm> form_;
    std::unique_ptr<MenuBarView> menuBar_;
    std::map<std::string, QPushButton*, std::less<>> buttons_;
    TInfoForm* infoForm_ = nullptr;
    std::optional<QString> pendingOpen_; // the answer the open dialog gives instead of asking
    std::uint64_t shownLogClears_ = 0;
    std::size_t shownLogLines_ = 0;
    // Changes from the programmer's reports are rendered at most once per this interval.
    static constexpr std::chrono::milliseconds kRenderInterval{100};
    std::chrono::steady_clock::time_point lastRender_;
    QTimer renderTimer_; // the render put off until the interval has passed
    bool renderQueued_ = false;
    bool questionOpen_ = false;
    bool rendering_ = false;
    bool closed_ = false;
    bool closeWithoutAsking_ = false;
    bool shown_ = false;
};

} // namespace tarvik
