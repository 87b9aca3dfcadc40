// TMainForm: the main window's behaviour without widgets. It owns the state of every control
// (menus, buttons, edits, fuse list, log, gauge, status bar, dialogs), the data buffer and the
// protocol fields, and carries the window's handlers. A view renders this state and forwards
// user events to the handlers; the command-line tool and the tests call the same handlers.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "buffer/hex_buffer.h"
#include "buffer/image_file.h"
#include "common/lang_text.h"
#include "form/controls.h"
#include "form/form_host.h"
#include "form/job_outcome.h"
#include "form/settings_store.h"
#include "link/hid_device_controller.h"
#include "protocol/codes.h"

namespace tarvik {

// Local date and time as days since 30 December 1899, the time of day as the fraction.
using TDateTime = double;

class TMainForm {
public:
    // Builds the controls in their designed state, then attaches HidCtlDeviceChange (which
    // searches for the programmer at once) and HidData to the controller. FormCreate is the
    // caller's next step.
    TMainForm(THidDeviceController& hidCtl, SettingsStore& settings, FormHost& host);
    ~TMainForm();
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // Raised once at the end of every handler that changed the model, so a view can follow.
    std::function<void()> OnChange;
    // The clock ShowDuration and StartJob read; tests replace it.
    std::function<TDateTime()> Now;

    // ---- start-up and shut-down ----
    void FormCreate();
    // Asked before the window closes: while a job runs the user decides whether to abandon it
    // (CanClose false keeps the window open).
    void FormCloseQuery(bool& CanClose);
    // Abandons a job that still runs, then stores the chip entry.
    void FormClose();
    // The "Last Device" a start with none stored takes and stores: 0, the first socket family,
    // unless the caller knows the chip in advance (the desktop's virtual programmer).
    std::int32_t firstStartDevice = 0;

    // ---- the HID link's handlers ----
    void HidCtlDeviceChange();
    // A device with the programmer's ids and reports is there, but this user may not open it.
    bool programmerAccessDenied() const;
    void HidData(THidDevice* HidDev, std::uint8_t ReportID, const std::uint8_t* Data,
                 std::uint16_t Size);

    // ---- File, Buffer, Setup and Info menus ----
    void nopenClick();
    void nsaveClick();
    void nEndeClick();
    void nUndoClick();
    void nRedoClick();
    void neditbufferClick();
    void updatebufferClick();
    void nverifynachprogrammierenClick();
    void sDeutschClick();
    void sEnglishClick();
    void sFranceClick();
    void nInfoClick();
    void HexeditorChange();

    // ---- jobs (buttons and the Action menu) ----
    void bProgClick();
    void bVerglClick();
    void bAuslesenClick();
    void bLoeschClick();
    void breadeepromClick();
    void bprogeepromClick();
    void bWriteFuseClick();
    void bDetectDeviceClick();
    // Action → Blank check: reads the chip's flash (or a serial EEPROM) into an image of its
    // own and says whether every byte is 0xFF; the buffer stays as it is. A chip that is not
    // blank ends the job with the error result.
    void nBlankCheckClick();
    // The same for an AVR chip's data EEPROM (the command line's blank-check --eeprom).
    void BlankCheckEeprom();
    void FuseListClickCheck(int index); // the user toggled entry index (its mark already flipped)
    // The answer to FuseQuestion: write the fuses after all, or end the job with nothing written.
    void FuseQuestionAnswered(bool agreed);
    // Action → Abort: abandons the running job as an unplug does, and says so in the log; the
    // controls come back once the programmer has been quiet for QuietAfterAbort.
    void nAbortClick();
    // From the job's start until it finishes, is aborted or the programmer goes: the buffer
    // can't be edited and Abort is offered.
    bool JobRunning() const { return jobRunning_; }
    // After an abort, until the programmer has been quiet for QuietAfterAbort: the job controls
    // stay off and no job starts, so a late answer to the abandoned job can't end the next one.
    bool Settling() const { return settling_; }
    std::chrono::milliseconds QuietAfterAbort{1000};
    // Counts the reports that moved a job on (a new step, a chunk sent, read bytes taken, the
    // end); a report the job ignores leaves it as it is.
    std::uint64_t JobProgress() const { return jobProgress_; }
    // For a job being stopped: the step it is in, how far it got and what the chip holds now.
    std::string StoppedLine() const;

    // ---- Device menu ----
    void n89Cx051Click();
    void n89C5xClick();
    void n89SxxClick();
    void N90S1200Click();
    void nAVRISPClick();
    void N24AA00Click();
    void N24AA01Click();
    void N24C01CClick();
    void N24AA02Click();
    void N24C02CClick();
    void N24C04AClick();
    void N24AA04Click();
    void N24AA08Click();
    void N24AA16Click();
    void N24aa32Click();
    void N24AA64Click();
    void N24AA128Click();
    void n24AA256Click();
    void N24AA512Click();
    void N12C508Click();
    void n12C508aClick();
    void n12c509Click();
    void N12C509AClick();
    void N12CE518Click();
    void N12CE519Click();
    void N16C54Click();
    void N16C56Click();
    void N16C84Click();
    void N16F83Click();
    void N16F84Click();

    // ---- files ----
    // The part is the memory taken from a file that holds several (ELF): flash unless a job
    // that writes the EEPROM reloads its file.
    void OpenBufferFile(MemoryPart part = MemoryPart::Flash);
    void ReadHexFile(MemoryPart part = MemoryPart::Flash);
    // Whether the buffer was saved (not when the dialog was cancelled).
    bool WriteHexFile();

    // ---- control groups ----
    void DisableControls();
    void EnableControls();
    void ResetChipSelection();
    void EnableEepromActions();

    // ---- protocol and job steps ----
    void SendReport();
    void FillDataChunk();
    void StartJob();
    void StartReadSignature();
    void StartErase();
    void StartWriteFlash();
    void StartVerify();
    void StartReadFlash();
    void StartWriteLockBit(std::uint8_t lockBit);
    void StartReadFuses();
    void StartWriteFuses();
    void StartWriteEeprom();
    void StartReadEeprom();
    void IdentifyChip(const std::uint8_t* payload, std::size_t size);
    void ApplyFuseBytes(const std::uint8_t* payload, std::size_t size);
    void FinishOperation();
    void ShowDuration();

    // ---- controls ----
    std::string Caption;
    // File
    MenuItem nDatei, nopen, nsave, N5, nEnde;
    // Buffer
    MenuItem nBuffer, nUndo, nRedo, neditbuffer, N7, updatebuffer;
    // Device
    MenuItem nDevice, nsocket, nAtmelSocket, n89Cx051, n89C5x, n89Sxx, N4, N90S1200;
    MenuItem nSerialEeprom, N24AA00, N24AA01, N24C01C, N24AA02, N24C02C, N24C04a, N24AA04, N24AA08,
        N24AA16, N24aa32, N24AA64, N24AA128, n24AA256, N24AA512;
    MenuItem nisp, nAVRISP, nPicIsp, N12C508, n12C508a, n12c509, N12C509A, N12CE518, N12CE519,
        N16C54, N16C56, N16C84, N16F83, N16F84;
    // Action
    MenuItem nAuswahl, nprogflash, nverifyflash, nreadflash, nLoesch, N3, nprogeeprom, nreadeeprom,
        nBlankCheck, N6, nDetectDevice, nWritefuse, N8, nAbort;
    // Setup, Info
    MenuItem nSetup, nverifynachprogrammieren, N1, Sprache1, sDeutsch, sEnglish, sFrance;
    MenuItem nInfo;

    Button bProg, bVergl, bAuslesen, bLoesch, bDetectDevice, bWriteFuse, bprogeeprom, breadeeprom;
    Label GBDevice, Label1, Label2, Label3;
    Edit Device, AutoDevice, CodeSize;
    CheckList FuseList;
    Memo Verlauf;
    Gauge Gauge1;
    tarvik::StatusBar StatusBar;
    FileDialog OpenDialog1, SaveDialog1;
    HexBuffer Hexeditor;
    // Asked before a fuse write that can lock the user out of the chip.
    Question FuseQuestion;

    // ---- protocol fields ----
    THidDeviceController& HidCtl;
    THidDevice* ProgrammerDevice = nullptr;
    std::uint8_t ProtocolState = stIdle;
    std::uint8_t RequestedJob = jobErase;
    bool ErrorFlag = false;
    std::uint8_t LanguageCode = 0;
    bool IsSocketMcu = false;
    bool IsAvrIsp = false;
    bool IsSerialEeprom = false;
    bool IsPic = false;
    std::uint8_t ProgVoltage = 0;
    std::int16_t EepromPageSize = 0;
    std::uint16_t EepromSizeCode = 0;
    OutputReportBytes OutputReport{};
    std::int32_t SendPos = 0;
    std::vector<std::uint8_t> ReadData;
    std::int32_t ExpectedSize = 0;
    TDateTime StartTime = 0;
    // The fuse list's marks as the chip last reported them (a fuse read) or took them (a fuse
    // write); nothing while they are not known, as after an identification without a fuse read.
    std::optional<std::vector<bool>> ChipFuseMarks;
    // A running fuse write: the marks of each write still to go out (the first is the one on
    // its way), and the marks the chip is to hold at the end, compared with the fuses read back.
    std::vector<std::vector<bool>> FuseWrites;
    std::vector<bool> FusesWanted;
    // The running read goes into ReadData only, to be compared with the buffer (the read-back
    // after a failed verify).
    bool ComparingReadBack = false;
    // The signature the file in the buffer was built for (an ELF file names it): a job that
    // writes or verifies the buffer ends before anything is erased when the chip's differs,
    // unless IgnoreFileSignature (the command line's --force). A read replaces it with nothing.
    std::optional<std::array<std::uint8_t, 3>> FileSignature;
    // The signature the last identification read (nothing when the answer was too short).
    std::optional<std::array<std::uint8_t, 3>> ChipSignature;
    bool IgnoreFileSignature = false;
    // The running read goes into ReadData only, to be checked for bytes other than 0xFF (a
    // blank check); set while such a job runs.
    bool BlankChecking = false;
    // What the last job came to (operations/ keeps it as the job goes).
    JobOutcome Outcome;

    // Appends a line in the current language to the log.
    void log(const LangText& text);
    void log(std::string line);
    // The line with the buffer's size and CRC-32 after a load, a read or a save.
    std::string imageLine(const LangText& text) const;
    // What else the file last loaded holds (an ELF file's other memories, fuses, lock and
    // signature), as its log line says; empty for other kinds.
    std::string FileContentsLine;

private:
    // Puts every control into its designed state (captions before any language handler ran,
    // design-time enabled, checked and visible states, radio groups).
    void initControls();

    // Put one at the top of every public handler: OnChange is raised once, when the outermost
    // handler returns (or throws), however many handlers it runs on the way.
    class NotifyOnExit {
    public:
        explicit NotifyOnExit(TMainForm& form) : form_(form) { ++form_.notifyDepth_; }
        ~NotifyOnExit() {
            if (--form_.notifyDepth_ == 0 && form_.OnChange)
                form_.OnChange();
        }
        NotifyOnExit(const NotifyOnExit&) = delete;
        NotifyOnExit& operator=(const NotifyOnExit&) = delete;

    private:
        TMainForm& form_;
    };
    int notifyDepth_ = 0;

    // Device menu: applies the catalogue's entry of that name (its menu entry gets the mark).
    void selectDevice(std::string_view name);
    // Language menu: 0 German, 1 English, 2 Russian.
    void selectLanguage(std::uint8_t languageCode);
    // Stores a setting at once; a store that fails is reported by the general error handler
    // and the window keeps its new state.
    void storeSetting(std::string_view name, std::int32_t value);
    void storeFlag(std::string_view name, bool value);
    // Start-up: reads one stored value. A value that can't be read (of the wrong type) is
    // reported by the general error handler and gives Failed.
    enum class StoredValue { Loaded, Absent, Failed };
    StoredValue loadSetting(std::string_view name, bool isFlag, std::int32_t& value);
    bool startupFlag(std::string_view name, bool defaultValue);
    void applyStoredLanguage();
    void applyStoredDevice();
    // The Setup and Buffer options: flip the entry's mark and store it at once.
    void toggleOption(MenuItem& item, std::string_view settingName);
    // Status bar panel 0: the programmer ready, there but not open to this user, or missing.
    void showProgrammerStatus();
    // No programmer taken: the controls disabled, the status, and in the log why each device
    // with the programmer's ids (and a programmer the backend refused) was not taken.
    void showProgrammerMissing();
    // The log's way to give this user access to a programmer that opens for queries only:
    // the backend's advice.
    void showAccessRemedy();

    // Job bookkeeping (operations/job_control.cpp): marks the job as running or over, locks the
    // buffer against edits and offers Abort while it runs.
    void setJobRunning(bool running);
    // Ends the running job where it stands (the controls stay as the job left them).
    void abandonJob();
    // Checks after a while whether the programmer has been quiet for QuietAfterAbort since
    // lastHeard_, and gives the controls back when it has.
    void awaitQuiet(std::chrono::milliseconds delay);
    // Program, verify and program EEPROM: the reload the option asks for (the user decides
    // when it would drop unsaved edits), then the job. Nothing starts after a failed reload.
    void startWithBuffer(TRequestedJob job);
    // The reload's log lines, for StartJob to log again after it clears the log.
    std::vector<std::string> reloadLines_;
    // Blank check (operations/blank_check.cpp): a read of that memory that the buffer never sees.
    void startBlankCheck(TRequestedJob job);
    bool jobRunning_ = false;
    bool settling_ = false;
    std::chrono::steady_clock::time_point lastHeard_{};
    // Expires with the form, so a check still queued on the main thread finds it gone.
    std::shared_ptr<int> alive_ = std::make_shared<int>();
    std::uint64_t jobProgress_ = 0;

    SettingsStore& RegistryEdit1;
    FormHost& host_;
    // Further private helpers are declared here by the files that define them.
};

} // namespace tarvik
