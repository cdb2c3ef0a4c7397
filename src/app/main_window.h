#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/opening_screen.h"
#include "app/window.h"
#include "app/window_states.h"
#include "config/port_record.h"
#include "core/event_loop.h"
#include "core/trace.h"
#include "download/protocol.h"
#include "download/states.h"
#include "firmware/acceptance.h"
#include "firmware/family.h"
#include "link/com_port.h"
#include "link/hid_controller.h"
#include "platform/hid_device.h"
#include "platform/serial_port.h"
#include "platform/settings_files.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/gauge.h"
#include "ui/group_box.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/picture.h"
#include "ui/spinner.h"
#include "ui/static_text.h"
#include "ui/timer.h"

// What the main window is given by its front end.
struct Environment {
  core::EventLoop& loop;
  ui::Dialogs& dialogs;
  platform::SerialSystem& serial;
  platform::HidSystem& hid;
  std::vector<std::string> args;  // command-line arguments, without the program's name
  std::string executable_path;    // full path of the program
  core::Trace* trace = nullptr;   // where a support trace goes, when one is wanted
  // Where the port configuration files live; none: in the program's folder.
  platform::SettingsFiles* settings = nullptr;
};

// The main window: its components, the download state of the one connection,
// and every handler and operation. Its methods are defined in the folder of the
// subsystem they belong to.
class TForm1 : public ui::Form, public app::Window {
 public:
  using CommState = download::CommState;
  using NextAction = download::NextAction;
  static constexpr std::size_t rx_buffer_capacity = 72;

  explicit TForm1(Environment env);
  ~TForm1() override;

  // --- Program entry and lifecycle (app/) ---
  void FormCreate();
  void FormShow();

  // --- Panel buttons (app/) ---
  void Button_Download_ready_for_downloadClick();
  void Button_Ok_ready_for_downloadClick();
  void Button_Cancel_ready_for_downloadClick();
  void xpButton_close_tekstveldClick();
  void Button_Retry_communication_offlineClick();
  void Button_ok_communication_offlineClick();
  void Button_Cancel_communication_offlineClick();
  void Button_Ignore_olderversionClick();
  void Button_Cancel_olderversionClick();
  void Button_OK_Acces_level_problemClick();
  void ShowOfflineForm(const std::string& l1, const std::string& l2, const std::string& l3);
  void ShowRefusalForm(const std::string& l1, const std::string& l2, const std::string& l3);
  void ShowOkForm(const std::string& l1, const std::string& l2, const std::string& l3);
  void ShowOfflinePanel(const std::string& l1, const std::string& l2, const std::string& l3,
                        bool ok_only);
  enum class ReadyButtons { download_cancel, ok, none };
  void ShowReadyPanel(ReadyButtons buttons, const std::string& l1, const std::string& l2);
  void SizeMessagePanel(int lines);
  void SizeOlderVersionPanel(bool wide);
  // The message panel's ten text lines, top to bottom.
  std::array<ui::Label*, 10> MessageLines();
  void ClosePort();
  void ShowBusy(bool on);
  void HideDownloadPanels();
  void HideProgressPanels();
  void HideGoOnPanels();

  // --- The states the snapshot tools of the views picture (app/window_states.cpp) ---
  // Every state, each to be set up on a form put at rest first.
  static std::vector<app::WindowState> WindowStates(const app::ShownPorts& ports);
  // Hides every panel and the spinner and gives the focus to Open file.
  void PutAtRest();

  // --- What the window waits for (app/activity.cpp), in one place for every
  // path that must know: a lost link, stray bytes, the batch front end and the
  // checks that hold the program to never standing still. ---
  // Whether the unit is awaited: a reply (the reply timer runs or a block's
  // pieces go out), the bridge taking a report, its report after a power
  // cycle, or Timer4 about to send, re-send or probe. False while the program
  // rests or a panel waits for the user.
  bool UnitAwaited() const;
  // Whether a reply may arrive now: the reply timer runs, or the unit's report
  // after a power cycle is still to come. Bytes at any other time answer
  // nothing: not a request given up on, nor one whose reply came already.
  bool ReplyAwaited() const;
  // Whether the program waits for the unit to report back by itself after a
  // power cycle; and whether that report is still to come.
  bool PowerCycleWaitRuns() const;
  bool PowerCycleReportAwaited() const;
  // A panel is up whose button the user is to press.
  bool WaitsForUser() const;
  // A panel offers to go on with the unit: Download, Ignore, or a script's text.
  bool OffersToGoOn() const;
  // A connection runs from its first request until it ends (finished, refused,
  // cancelled, offline): the unit is awaited, or a panel offers to go on.
  bool ConnectionRuns() const;
  bool Idle() const override { return !UnitAwaited() && !WaitsForUser(); }

  // --- What a front end asks (app/front_answers.cpp); see app::Window ---
  Asks Asking() const override;
  ui::Button* Offered(Choice choice) override;
  const ui::Panel* AskingPanel() const override;
  bool Standing(const ui::Panel& panel) const override;
  bool DownloadFinished() const override;
  bool UnitAsked() const override;
  bool FileRefused() const override;
  bool Searching() const override;
  app::LinkFacts LinkNow() const override;
  app::Readout ReadOut() const override;
  app::GaugeReading Gauge() const override;
  const std::optional<app::StalledStep>& StalledAt() const override { return stalled_step; }
  void UsePort(const std::string& port) override;

  // --- Download control (download/) ---
  void ReceiveDispatcher(std::int32_t count);
  bool ReadSerialInput(std::int32_t count);
  void AppendRx(std::span<const std::uint8_t> bytes);
  bool KeepOnlyPowerCycleReport();
  void ActOnReply();
  void OnProbeReply();
  void OnStatusReply();
  void OnStartReply();
  void OnRestartReply();
  void OnBlockReply();
  void AwaitOtherCopiesReplies();
  void SendNextBlock();
  void OnFinishReply();
  void ContinueScript();
  void ReportLinkError();
  void Timer2Timer();
  void Timer4Timer();
  void CancelNextAction();
  void SendVersionRequest();
  void SendSerialRequest();
  void SendPrepareRequest();
  void SendAccessRequest();
  void SendStatusRequest();
  void SendStartRequest();
  void SendBlock();
  void SendFinishRequest();
  void SendSwitchRequest();
  void SendRestartRequest();
  void WriteCommLabel();
  void ClearRx();
  bool EnsurePortOpen();
  bool Send(const std::vector<std::uint8_t>& request, int hid_length);

  // --- Links (link/) ---
  bool WriteToComPort(std::span<const std::uint8_t> request);
  bool SendOverComPort(std::span<const std::uint8_t> request);
  bool SendHidReport(std::span<const std::uint8_t> request, int length);
  void SendHidChunk(std::span<const std::uint8_t> piece, int length);
  enum class HidWrite { written, no_bridge, not_written, failed };
  void WriteHidReport(std::span<const std::uint8_t> request, int length,
                      std::function<void(HidWrite)> then);
  void HidCtlDeviceChange();
  void TakeNewestBridge();
  void HidDeviceData(std::uint8_t report_id, std::span<const std::uint8_t> data);
  void HidCtlDeviceDataError(links::HidRecord& device, const core::Error& error);
  void StopLinkTimers();
  void ComPort1RxChar(int count);
  void ComPort1Gone(const core::Error& error);
  void HandleCommError();
  void ResendInFlight();
  void ProbeCandidatePort();
  bool OpenCandidatePort();
  void SkipCandidate();
  void Timer1Timer();

  // --- Firmware files (firmware/) ---
  void SpeedButton_open_fileClick();
  bool DownloadRunning() const;
  // Ends the file before: its timers, port, panels and download state (a file
  // open, and Save on the port settings panel under a running download).
  void AbandonFile();
  void ShowFileMessage(const std::string& line1, const std::string& line2);
  bool ApplyFamily(const firmware::Family& family);
  void ArmConnection(const firmware::Family& family);
  bool OpenImage(const std::string& path);
  bool OpenScript(const std::string& path);
  void TakeImageFacts(const firmware::ImageFacts& image, const firmware::Refusal* refusal);
  bool TakeScriptImage(const firmware::ImageFacts& image);
  void RefuseFile(const firmware::Refusal& refusal);
  void StopScript();
  void ScriptReadFailure(const std::string& file);
  void ScriptImageStep(const std::string& line, std::size_t number);
  void PowerCyclePrompt();
  void FinalMessage();
  void ShowTexts(std::span<const std::uint8_t> script, const std::string& step);
  void VersionCheck();
  void ShowOlderVersionPanel(const char* line1, const char* line2);
  void PatternCheck();
  bool AccessLevelPasses(unsigned level) const;
  void StartScript();
  void ScriptStep();

  // --- Port configuration (config/) ---
  // False when the list of present ports could not be read.
  bool PortSetUp(firmware::PortKind port_kind);
  static const char* PortFileName(firmware::PortKind port_kind);
  std::string PortFilePath(firmware::PortKind port_kind) const;
  // Writes the one record of the port file, creating its folder where missing.
  bool WritePortFileOf(firmware::PortKind port_kind, const std::string& name);
  void SpeedButton1Click();
  void LoadPortGroup(ui::ComboBox& combo, firmware::PortKind port_kind,
                     const core::Result<std::vector<std::string>>& present);
  void RescanPortGroup(ui::ComboBox& combo);
  void SavePortGroup(const ui::ComboBox& combo, firmware::PortKind port_kind);
  void StorePort(const std::string& name, firmware::PortKind port_kind);
  void CheckBox_Autoselect_comportClick();
  // Whether connecting starts with the port search: "Autoselect comport" is
  // checked and the unit is reached through a serial port at all.
  bool PortSearchWanted() const;
  void ApplyAutoselectAppearance();
  void xpButton_rescan1Click();
  void xpButton_rescan2Click();
  void Button_Save_set_communicationportClick();
  void Button_Save_set_communicationport_2Click();
  void Button_Cancel_set_communicationportClick();
  // The ports the port search probes, in order: the RS232-over-USB group's list.
  const std::vector<std::string>& PortSearchCandidates() const override;
  // The candidate at `index`; nothing past either end of the list.
  std::optional<std::string> PortSearchCandidate(std::int32_t index) const;

  // --- The environment ---
  core::EventLoop& loop;
  ui::Dialogs& dialogs;
  platform::SerialSystem& serial;
  platform::HidSystem& hid;
  const std::vector<std::string> args;
  const std::string executable_path;
  core::Trace* const trace;
  platform::SettingsFiles* const settings;

  // --- Components, in stacking order: labels and the spinner lie on the window
  // itself below every panel; each later panel covers the ones before it. ---
  ui::Label label_comm_errors{this, "label_comm_errors"};
  ui::Spinner AdvCircularProgress1{this, "AdvCircularProgress1"};
  ui::Label Label_please_wait{this, "Label_please_wait"};

  ui::Panel GroupBox_gauge_up_down_loading{this, "GroupBox_gauge_up_down_loading"};
  ui::Gauge Gauge_up_down_loading{&GroupBox_gauge_up_down_loading, "Gauge_up_down_loading"};

  ui::Panel GroupBox_ECU_info{this, "GroupBox_ECU_info"};
  ui::Label Label2{&GroupBox_ECU_info, "Label2"};
  ui::StaticText StaticText_version_info{&GroupBox_ECU_info, "StaticText_version_info"};
  ui::Label Label_Serial_number{&GroupBox_ECU_info, "Label_Serial_number"};
  ui::StaticText StaticText_Serial_number{&GroupBox_ECU_info, "StaticText_Serial_number"};

  ui::Panel GroupBox_File_info{this, "GroupBox_File_info"};
  ui::Label Label1{&GroupBox_File_info, "Label1"};
  ui::StaticText StaticText_version_info_File{&GroupBox_File_info, "StaticText_version_info_File"};

  ui::Button SpeedButton_open_file{this, "SpeedButton_open_file"};
  ui::Button SpeedButton_comport_settings{this, "SpeedButton_comport_settings"};

  ui::Panel Panel_olderversion_text{this, "Panel_olderversion_text"};
  ui::Label Label_version_error_txt1{&Panel_olderversion_text, "Label_version_error_txt1"};
  ui::Label Label_version_error_txt2{&Panel_olderversion_text, "Label_version_error_txt2"};
  ui::Button Button_Ignore_olderversion{&Panel_olderversion_text, "Button_Ignore_olderversion"};
  ui::Button Button_Cancel_olderversion{&Panel_olderversion_text, "Button_Cancel_olderversion"};

  ui::Panel Panel_ready_for_download{this, "Panel_ready_for_download"};
  ui::Label Label_ready_for_download_txt1{&Panel_ready_for_download,
                                          "Label_ready_for_download_txt1"};
  ui::Label Label_ready_for_download_txt2{&Panel_ready_for_download,
                                          "Label_ready_for_download_txt2"};
  ui::Button Button_Download_ready_for_download{&Panel_ready_for_download,
                                                "Button_Download_ready_for_download"};
  ui::Button Button_Cancel_ready_for_download{&Panel_ready_for_download,
                                              "Button_Cancel_ready_for_download"};
  // Lies between and over Download and Cancel; shown only when they are hidden.
  ui::Button Button_Ok_ready_for_download{&Panel_ready_for_download,
                                          "Button_Ok_ready_for_download"};

  ui::Panel Panel_tekstveld{this, "Panel_tekstveld"};
  ui::Label Label_tekstveld_regel_1{&Panel_tekstveld, "Label_tekstveld_regel_1"};
  ui::Label Label_tekstveld_regel_2{&Panel_tekstveld, "Label_tekstveld_regel_2"};
  ui::Label Label_tekstveld_regel_3{&Panel_tekstveld, "Label_tekstveld_regel_3"};
  ui::Label Label_tekstveld_regel_4{&Panel_tekstveld, "Label_tekstveld_regel_4"};
  ui::Label Label_tekstveld_regel_5{&Panel_tekstveld, "Label_tekstveld_regel_5"};
  ui::Label Label_tekstveld_regel_6{&Panel_tekstveld, "Label_tekstveld_regel_6"};
  ui::Label Label_tekstveld_regel_7{&Panel_tekstveld, "Label_tekstveld_regel_7"};
  ui::Label Label_tekstveld_regel_8{&Panel_tekstveld, "Label_tekstveld_regel_8"};
  ui::Label Label_tekstveld_regel_9{&Panel_tekstveld, "Label_tekstveld_regel_9"};
  ui::Label Label_tekstveld_regel_10{&Panel_tekstveld, "Label_tekstveld_regel_10"};
  ui::Button xpButton_close_tekstveld{&Panel_tekstveld, "xpButton_close_tekstveld"};

  ui::Panel Panel_communication_offline{this, "Panel_communication_offline"};
  ui::Label Label_communication_is_offline_txt1{&Panel_communication_offline,
                                                "Label_communication_is_offline_txt1"};
  ui::Label Label_communication_is_offline_txt2{&Panel_communication_offline,
                                                "Label_communication_is_offline_txt2"};
  ui::Label Label_communication_is_offline_txt3{&Panel_communication_offline,
                                                "Label_communication_is_offline_txt3"};
  ui::Button Button_Retry_communication_offline{&Panel_communication_offline,
                                                "Button_Retry_communication_offline"};
  ui::Button Button_Cancel_communication_offline{&Panel_communication_offline,
                                                 "Button_Cancel_communication_offline"};
  // Lies between and over Retry and Cancel; shown only when they are hidden.
  ui::Button Button_ok_communication_offline{&Panel_communication_offline,
                                             "Button_ok_communication_offline"};

  ui::Panel GroupBox_set_communicationport{this, "GroupBox_set_communicationport"};
  ui::CheckBox CheckBox_Autoselect_comport{&GroupBox_set_communicationport,
                                           "CheckBox_Autoselect_comport"};
  ui::GroupBox GroupBox_RS232{&GroupBox_set_communicationport, "GroupBox_RS232"};
  ui::Label Label6{&GroupBox_RS232, "Label6"};
  ui::Button xpButton_rescan1{&GroupBox_RS232, "xpButton_rescan1"};
  ui::ComboBox ComboBox_setCompoort1{&GroupBox_RS232, "ComboBox_setCompoort1"};
  ui::Button Button_Save_set_communicationport{&GroupBox_RS232,
                                               "Button_Save_set_communicationport"};
  ui::GroupBox GroupBox_RS232_over_USB{&GroupBox_set_communicationport, "GroupBox_RS232_over_USB"};
  ui::Label Label7{&GroupBox_RS232_over_USB, "Label7"};
  ui::Button xpButton_rescan2{&GroupBox_RS232_over_USB, "xpButton_rescan2"};
  ui::ComboBox ComboBox_setCompoort2{&GroupBox_RS232_over_USB, "ComboBox_setCompoort2"};
  ui::Button Button_Save_set_communicationport_2{&GroupBox_RS232_over_USB,
                                                 "Button_Save_set_communicationport_2"};
  ui::GroupBox GroupBox_HID{&GroupBox_set_communicationport, "GroupBox_HID"};
  ui::Label Label8{&GroupBox_HID, "Label8"};
  ui::Button Button_Cancel_set_communicationport{&GroupBox_set_communicationport,
                                                 "Button_Cancel_set_communicationport"};

  ui::Panel Panel_Acces_level_problem{this, "Panel_Acces_level_problem"};
  ui::Picture Image_access_level{&Panel_Acces_level_problem, "Image_access_level"};
  ui::Label Label4{&Panel_Acces_level_problem, "Label4"};
  ui::Label Label5{&Panel_Acces_level_problem, "Label5"};
  ui::Button Button_OK_Acces_level_problem{&Panel_Acces_level_problem,
                                           "Button_OK_Acces_level_problem"};

  // --- Non-visual components ---
  links::ComPort ComPort1{loop, serial};
  ui::Timer Timer1{loop, download::hid_piece_interval_ms};
  ui::Timer Timer2{loop, download::probe_time_out_ms};
  ui::Timer Timer4{loop, download::first_action_delay_ms};
  links::HidController HidCtl{loop, hid};

  // The opening screen, created and shown by FormCreate unless "-O" was given.
  std::unique_ptr<TOKBottomDlg_openingsscherm> opening_screen;

  // --- Download state: one connection and download ---
  CommState comm_state = CommState::idle;
  std::vector<std::uint8_t> rx_buffer;  // at most rx_buffer_capacity bytes
  std::int32_t rx_count = 0;
  std::int32_t error_count = 0;
  NextAction next_action = NextAction::connect;
  firmware::Link link_kind = firmware::Link::none;
  bool fast_baud = false;
  bool staged_download = false;
  bool soft_restart = false;
  bool script_finished = false;
  std::int32_t block_nr = 0;
  // How often the block in flight went out: each copy may still be answered.
  std::int32_t block_copies = 0;
  std::int32_t last_block_nr = 0;
  std::vector<std::uint8_t> block_message;
  std::int32_t hid_chunk_index = 0;
  // The bridge requests are written to: the last one found when the connection
  // began, or since while none ran; never cleared.
  links::HidRecord* hid_device = nullptr;
  // A bridge found while a connection ran over `hid_device`: the next connection's.
  links::HidRecord* hid_next_device = nullptr;
  // `hid_device` as the last listing of devices found it plugged in; none when
  // it was not.
  links::HidRecord* hid_device_listed = nullptr;
  // Why the last device named like the bridge was not taken for it (the first
  // line of what the message box said); empty when none was refused.
  std::string hid_refusal;
  // Reports the bridge holds, written but not yet taken, and how many were
  // written in all: an outcome tells of the last one only if none came since.
  std::int32_t hid_writes_on_their_way = 0;
  std::uint64_t hid_writes = 0;
  // How often the link was stopped (StopLinkTimers): what comes back from
  // before the last stop answers a request given up on.
  std::uint64_t link_stops = 0;
  std::int32_t finish_wait = 0;
  std::int32_t autoselect_index = 0;
  std::string port_name{config::default_port_name};
  // The family of the last open that armed a connection: a script that names no
  // image connects as that open did.
  std::optional<firmware::Family> connection_family;
  std::string program_folder;
  std::string firmware_file_name;
  std::string script_file_name;
  std::int32_t script_position = 0;
  // Set by the Download button, so that opening another file mid-download can ask first.
  bool download_started = false;
  // The step line a script came to rest at because it asks for nothing this program knows.
  std::optional<app::StalledStep> stalled_step;
  // A port chosen by the front end for this run (UsePort, the batch front end's --port):
  // the port set-up then uses it without reading the port configuration files.
  std::optional<std::string> forced_port;

 private:
  void BuildFixedContent();
  void BuildPanels();
  void BuildPortSettings();
  void ConnectHandlers();
};
