// The main window driven like a user would: a whole job against the virtual programmer, an
// unplug in the middle of one, the fuse list, files through the dialogs and by drag and drop,
// the general error handler, and captions that fit their controls in every language.
#include <gtest/gtest.h>

#include <QAction>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QUrl>

#include "buffer/intel_hex.h"
#include "emulator/virtual_programmer.h"
#include "shell_fixtures.h"
#include "support/non_regular_files.h"

using namespace tarvik;

namespace {

std::vector<std::uint8_t> pattern(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = std::uint8_t(i * 13 + 5);
    return bytes;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content) {
    const QString path = dir.path() + "/" + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

QByteArray hexFile(const std::vector<std::uint8_t>& bytes) {
    return QByteArray::fromStdString(writeIntelHex(bytes));
}

// Answers the next modal file dialog with answer(dialog) once it is up.
template <typename Answer>
void answerFileDialog(Answer answer) {
    QTimer::singleShot(0, [answer] {
        runUntil([] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); });
        answer(*qobject_cast<QFileDialog*>(QApplication::activeModalWidget()));
    });
}

} // namespace

TEST(MainWindow, ProgramsAHexFileThroughTheWindow) {
    TempSettings store;
    QTemporaryDir files;
    const auto image = pattern(1024);
    const QString path = writeFile(files, "image.hex", hexFile(image));
    auto session = emulatedSession("ATmega8");
    MainWindow& window = session->window();
    window.show();

    ASSERT_TRUE(window.openFile(path));
    window.renderNow();
    EXPECT_EQ(window.StatusPanels[1]->text(), "image.hex");
    EXPECT_EQ(window.StatusPanels[2]->text(), "1024 байт");
    window.action("nAVRISP")->trigger();
    window.renderNow();
    ASSERT_TRUE(window.button("bProg")->isEnabled());
    window.button("bProg")->click();
    // A job running: the job controls and the File menu are off, Setup and Info stay usable.
    window.renderNow();
    EXPECT_FALSE(window.button("bProg")->isEnabled());
    EXPECT_FALSE(window.action("nDatei")->isEnabled());
    EXPECT_TRUE(window.action("nSetup")->isEnabled());
    EXPECT_TRUE(window.action("nInfo")->isEnabled());

    ASSERT_TRUE(runUntil([&] { return logHas(window, "Successfully finished."); }));
    window.renderNow();
    const QStringList lines = window.Verlauf->toPlainText().split('\n');
    EXPECT_TRUE(lines.last().startsWith("Duration: ")) << lines.last().toStdString();
    EXPECT_EQ(window.AutoDevice->text(), "ATmega8");
    EXPECT_EQ(window.CodeSize->text(), "8192");
    EXPECT_EQ(window.FuseList->count(), 22);
    EXPECT_TRUE(window.button("bProg")->isEnabled());
    EXPECT_EQ(window.Gauge1->value(), 0);
    // The log shows its newest line.
    EXPECT_EQ(window.Verlauf->verticalScrollBar()->value(),
              window.Verlauf->verticalScrollBar()->maximum());
    const auto flash = session->programmer->flash();
    ASSERT_GE(flash.size(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), flash.begin()));
}

TEST(MainWindow, UnplugInTheMiddleOfAJobDisablesTheControlsAndClearsTheLog) {
    TempSettings store;
    QTemporaryDir files;
    auto session = emulatedSession("ATmega8");
    MainWindow& window = session->window();
    window.openFile(writeFile(files, "image.bin", QByteArray(4000, '\x5A')));
    window.action("nAVRISP")->trigger();
    // The programmer goes silent after a few reports, so the job stays in the middle.
    session->programmer->injectFault(emulator::Fault::NoAnswer, 6);
    window.renderNow();
    window.button("bProg")->click();
    ASSERT_TRUE(runUntil([&] { return session->programmer->reportsReceived() >= 6; }));
    window.renderNow();
    EXPECT_FALSE(window.Verlauf->toPlainText().isEmpty());
    EXPECT_GT(window.Gauge1->value(), 0);

    session->emulatedBus()->unplug(*session->programmerPlug);
    ASSERT_TRUE(runUntil([&] { return window.form().ProgrammerDevice == nullptr; }));
    window.renderNow();
    EXPECT_EQ(window.StatusPanels[0]->text(), "Программатор не подключен!");
    EXPECT_TRUE(window.Verlauf->toPlainText().isEmpty());
    EXPECT_EQ(window.Gauge1->value(), 0);
    for (QPushButton* button : window.buttons())
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    for (const char* menu : {"nDatei", "nBuffer", "nDevice", "nAuswahl"})
        EXPECT_FALSE(window.action(menu)->isEnabled()) << menu;
    EXPECT_FALSE(window.action("nopen")->isEnabled()); // its shortcut can't fire either
    EXPECT_TRUE(window.action("nSetup")->isEnabled());
    EXPECT_FALSE(window.FuseList->isEnabled());

    // Plugged in again: the controls come back.
    session->emulatedBus()->plug(std::make_shared<emulator::VirtualProgrammer>("ATmega8"));
    ASSERT_TRUE(runUntil([&] { return window.form().ProgrammerDevice != nullptr; }));
    window.renderNow();
    EXPECT_TRUE(window.button("bAuslesen")->isEnabled());
    EXPECT_EQ(window.StatusPanels[0]->text(), "Программатор к работе готов.");
}

TEST(MainWindow, FuseListFollowsTheModelAndForwardsChecks) {
    TempSettings store;
    auto session = emulatedSession();
    MainWindow& window = session->window();
    window.call(&TMainForm::N90S1200Click);
    window.renderNow();
    const CheckList& model = window.form().FuseList;
    ASSERT_EQ(window.FuseList->count(), int(model.items.size()));
    ASSERT_FALSE(model.items.empty());
    EXPECT_FALSE(window.button("bWriteFuse")->isEnabled());

    for (int i = 0; i < window.FuseList->count(); ++i) {
        QListWidgetItem* item = window.FuseList->item(i);
        EXPECT_EQ(item->text().toStdString(), model.items[std::size_t(i)].text);
        EXPECT_TRUE(item->data(Qt::CheckStateRole).isValid()) << "no check box on " << i;
        const bool wasChecked = model.items[std::size_t(i)].checked;
        item->setCheckState(wasChecked ? Qt::Unchecked : Qt::Checked);
        window.renderNow();
        if (model.items[std::size_t(i)].enabled) {
            EXPECT_NE(model.items[std::size_t(i)].checked, wasChecked) << i;
            EXPECT_TRUE(window.button("bWriteFuse")->isEnabled());
        } else {
            // A locked entry keeps its mark.
            EXPECT_EQ(model.items[std::size_t(i)].checked, wasChecked) << i;
            EXPECT_EQ(item->checkState() == Qt::Checked, wasChecked) << i;
        }
    }
}

TEST(MainWindow, AFuseChangeThatLocksOutAsksFirst) {
    TempSettings store;
    auto session = emulatedSession("ATmega8");
    MainWindow& window = session->window();
    window.show();
    window.action("nAVRISP")->trigger();
    window.renderNow();
    window.button("bDetectDevice")->click();
    ASSERT_TRUE(runUntil([&] { return logHas(window, "Successfully finished."); }));
    const emulator::FuseBytes before = session->programmer->fuses();
    QListWidgetItem* rstdisbl = window.FuseList->item(6);
    ASSERT_EQ(rstdisbl->text(), "RSTDISBL");

    // The box comes up from the event loop: a timer answers it with the button of that caption.
    QString caption;
    std::vector<std::string> asked;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        asked.push_back((box->windowTitle() + "|" + box->text()).toStdString());
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == caption)
                button->click();
        }
    });
    answerer.start(5);
    for (const char* answer : {"No", "Yes"}) {
        SCOPED_TRACE(answer);
        caption = answer;
        rstdisbl->setCheckState(Qt::Unchecked);
        rstdisbl->setCheckState(Qt::Checked);
        window.renderNow();
        window.button("bWriteFuse")->click();
        ASSERT_TRUE(runUntil([&] { return window.form().ProtocolState == stIdle; }));
        window.renderNow();
    }
    EXPECT_EQ(asked, std::vector<std::string>(2, "Write fuse/lock bits|This change can lock you "
                                                 "out of the chip:\nRSTDISBL programmed: no "
                                                 "more programming over ISP afterwards.\nWrite "
                                                 "anyway?"));
    EXPECT_TRUE(logHas(window, "Successfully finished."));
    EXPECT_EQ(session->programmer->fuses().high, before.high & 0x7F);
}

TEST(MainWindow, FilesThroughTheDialogsAndByDragAndDrop) {
    TempSettings store;
    QTemporaryDir files;
    const QString hex = writeFile(files, "first.hex", hexFile(pattern(32)));
    const QString bin = writeFile(files, "second.bin", QByteArray(300, '\x11'));
    const QString text = writeFile(files, "notes.txt", "hello");
    auto session = emulatedSession();
    MainWindow& window = session->window();
    window.action("nAVRISP")->trigger();

    QStringList filters;
    answerFileDialog([&](QFileDialog& dialog) {
        filters = dialog.nameFilters();
        EXPECT_EQ(dialog.windowTitle(), "open file:");
        dialog.selectFile(hex);
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    window.action("nopen")->trigger();
    EXPECT_EQ(filters, (QStringList{"Hex-files (*.hex)", "Binary-files (*.bin)", "All files (*)"}));
    EXPECT_EQ(window.form().Hexeditor.ByteCount(), 32);

    // Cancel: the dialog offered the last file, and nothing changes.
    writeFile(files, "first.hex", hexFile(pattern(48)));
    QStringList offered;
    answerFileDialog([&](QFileDialog& dialog) {
        offered = dialog.selectedFiles();
        QMetaObject::invokeMethod(&dialog, "reject");
    });
    window.action("nopen")->trigger();
    EXPECT_EQ(offered, QStringList{hex});
    EXPECT_EQ(window.form().Hexeditor.ByteCount(), 32);
    answerFileDialog([&](QFileDialog& dialog) {
        dialog.selectFile(hex);
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    window.action("nopen")->trigger();
    EXPECT_EQ(window.form().Hexeditor.ByteCount(), 48);

    // Saving as binary: a name typed without extension gets the chosen type's.
    answerFileDialog([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "save file as:");
        dialog.selectNameFilter("Bin-files (*.bin)");
        emit dialog.filterSelected("Bin-files (*.bin)"); // as the user's choice does
        dialog.selectFile(files.path() + "/saved");
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    window.action("nsave")->trigger();
    QFile saved(files.path() + "/saved.bin");
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.size(), 48);

    // Dropping a binary file opens it; a file of no kind Tarvik reads says why not.
    auto drop = [&](const QString& path) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton,
                           Qt::NoModifier);
        QApplication::sendEvent(&window, &dropped);
        return dropped.isAccepted();
    };
    {
        MessageBoxCatcher catcher;
        drop(text);
        EXPECT_EQ(catcher.texts,
                  std::vector<std::string>{
                      std::string("\"") + text.toStdString() +
                      "\" is not loaded: Tarvik reads Intel HEX files (a name ending like .hex, or "
                      "contents starting with \":\"), Motorola S-record files (lines starting S0 "
                      "to S9), ELF files and binary files (a name ending like .bin)."});
        EXPECT_EQ(window.form().Hexeditor.ByteCount(), 48);
    }
    EXPECT_TRUE(drop(bin));
    window.renderNow();
    EXPECT_EQ(window.form().Hexeditor.ByteCount(), 300);
    EXPECT_EQ(window.StatusPanels[1]->text(), "second.bin");

    // While a job runs, File → Open is off, and so is opening by drop.
    session->programmer->injectFault(emulator::Fault::NoAnswer, 1);
    window.renderNow();
    window.button("bAuslesen")->click();
    EXPECT_FALSE(drop(hex));
    EXPECT_EQ(window.form().Hexeditor.ByteCount(), 300);
}

TEST(MainWindow, UndoAndRedoAnswerTheCommonKeysToo) {
    TempSettings store;
    auto session = emulatedSession();
    MainWindow& window = session->window();
    EXPECT_EQ(window.action("nUndo")->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+U"), QKeySequence("Ctrl+Z")}));
    EXPECT_EQ(window.action("nRedo")->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+R"), QKeySequence("Ctrl+Y"),
                                   QKeySequence("Ctrl+Shift+Z")}));
}

// A pipe, a folder or a device named on the command line or in the dialog is refused at once,
// never waited on.
TEST(MainWindow, OpeningWhatIsNoRegularFileDoesNotHang) {
    TempSettings store;
    QTemporaryDir files;
    auto session = emulatedSession();
    MainWindow& window = session->window();
    window.action("sEnglish")->trigger();
    for (const std::string& name : test::makeNonRegularFiles(files.path().toStdString())) {
        MessageBoxCatcher catcher;
        EXPECT_TRUE(window.openFile(QString::fromStdString(name)));
        EXPECT_EQ(catcher.texts, std::vector<std::string>{
                                     std::string("\"") + name +
                                     "\" is not a regular file (a folder, pipe, socket or device) "
                                     "and is not opened."});
        EXPECT_EQ(window.form().Hexeditor.ByteCount(), 0);
    }
}

TEST(MainWindow, TheGeneralErrorHandlerShowsWhatAHandlerThrowsAndGoesOn) {
    TempSettings store;
    QTemporaryDir files;
    auto session = emulatedSession();
    MainWindow& window = session->window();
    window.openFile(writeFile(files, "good.bin", QByteArray(16, '\x22')));
    MessageBoxCatcher boxes;
    EXPECT_TRUE(window.openFile(files.path() + "/missing.hex"));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("missing.hex"), std::string::npos) << boxes.texts[0];
    EXPECT_EQ(window.form().Hexeditor.ByteCount(), 16);

    window.call([] { throw std::runtime_error("something went wrong"); });
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[1], "something went wrong");
    // A failure that brings no text of its own gets the general one, in the window's language.
    window.call([] { throw 42; });
    window.call(&TMainForm::sFranceClick);
    window.call([] { throw 42; });
    ASSERT_EQ(boxes.texts.size(), 4u);
    EXPECT_EQ(boxes.texts[2], "Unknown error.");
    EXPECT_EQ(boxes.texts[3], "Неизвестная ошибка.");
    window.action("N24AA02")->trigger(); // and the window still works
    window.renderNow();
    EXPECT_TRUE(window.action("N24AA02")->isChecked());
}

TEST(MainWindow, GeometryAndFixedSize) {
    TempSettings store;
    auto session = emulatedSession();
    MainWindow& window = session->window();
    window.show();
    EXPECT_EQ(window.centralWidget()->width(), 868);
    EXPECT_EQ(window.centralWidget()->height() + window.statusBar()->height(), 626);
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.font().pointSize(), 8);
    EXPECT_EQ(QFontInfo(window.font()).styleHint(), QFont::SansSerif);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window.button("bprogeeprom")->geometry(), QRect(672, 520, 185, 25));
    EXPECT_EQ(window.Verlauf->geometry(), QRect(672, 264, 185, 153));
    EXPECT_EQ(window.StatusPanels[0]->width(), 500);
    EXPECT_EQ(window.StatusPanels[1]->width(), 150);
    EXPECT_GE(window.StatusPanels[2]->width(), 50);
}

TEST(MainWindow, NoCaptionIsCutOffInAnyLanguage) {
    TempSettings store;
    auto session = emulatedSession();
    MainWindow& window = session->window();
    window.show();
    for (auto language :
         {&TMainForm::sDeutschClick, &TMainForm::sEnglishClick, &TMainForm::sFranceClick}) {
        window.call(language);
        window.renderNow();
        for (QPushButton* button : window.buttons()) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect contents =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), contents.width())
                << button->text().toStdString();
        }
        for (QLabel* label : window.labels())
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()),
                      label->contentsRect().width())
                << label->text().toStdString();
        EXPECT_LE(window.GBDevice->fontMetrics().horizontalAdvance(window.GBDevice->title()),
                  window.GBDevice->width() - 16);
    }
}
