#include "app/main_window.h"

#include "app/command_line.h"
#include "config/port_record.h"
#include "texts/texts.h"

TForm1::TForm1(Environment env)
    : ui::Form("Form1"),
      loop(env.loop),
      dialogs(env.dialogs),
      serial(env.serial),
      hid(env.hid),
      args(std::move(env.args)),
      executable_path(std::move(env.executable_path)),
      trace(env.trace),
      settings(env.settings) {
  caption = texts::window_caption;
  width = 604;
  height = 328;
  font = ui::arial(11, false, ui::colors::black);
  base = ui::colors::silver;
  client_from = ui::Color{210, 223, 244};
  client_to = ui::Color{233, 239, 249};
  BuildFixedContent();
  BuildPanels();
  BuildPortSettings();
  ConnectHandlers();
  ComPort1.trace_to(trace);
  Timer1.trace_to(trace, "Timer1");
  Timer2.trace_to(trace, "Timer2");
  Timer4.trace_to(trace, "Timer4");
  FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::ConnectHandlers() {
  SpeedButton_open_file.on_click = [this] { SpeedButton_open_fileClick(); };
  SpeedButton_comport_settings.on_click = [this] { SpeedButton1Click(); };
  Button_Download_ready_for_download.on_click = [this] {
    Button_Download_ready_for_downloadClick();
  };
  Button_Ok_ready_for_download.on_click = [this] { Button_Ok_ready_for_downloadClick(); };
  Button_Cancel_ready_for_download.on_click = [this] { Button_Cancel_ready_for_downloadClick(); };
  xpButton_close_tekstveld.on_click = [this] { xpButton_close_tekstveldClick(); };
  Button_Retry_communication_offline.on_click = [this] {
    Button_Retry_communication_offlineClick();
  };
  Button_ok_communication_offline.on_click = [this] { Button_ok_communication_offlineClick(); };
  Button_Cancel_communication_offline.on_click = [this] {
    Button_Cancel_communication_offlineClick();
  };
  Button_Ignore_olderversion.on_click = [this] { Button_Ignore_olderversionClick(); };
  Button_Cancel_olderversion.on_click = [this] { Button_Cancel_olderversionClick(); };
  Button_OK_Acces_level_problem.on_click = [this] { Button_OK_Acces_level_problemClick(); };
  CheckBox_Autoselect_comport.on_click = [this] { CheckBox_Autoselect_comportClick(); };
  xpButton_rescan1.on_click = [this] { xpButton_rescan1Click(); };
  xpButton_rescan2.on_click = [this] { xpButton_rescan2Click(); };
  Button_Save_set_communicationport.on_click = [this] { Button_Save_set_communicationportClick(); };
  Button_Save_set_communicationport_2.on_click = [this] {
    Button_Save_set_communicationport_2Click();
  };
  Button_Cancel_set_communicationport.on_click = [this] {
    Button_Cancel_set_communicationportClick();
  };
  Timer1.on_timer = [this] { Timer1Timer(); };
  Timer2.on_timer = [this] { Timer2Timer(); };
  Timer4.on_timer = [this] { Timer4Timer(); };
  ComPort1.on_rx_char = [this](int count) { ComPort1RxChar(count); };
  ComPort1.on_gone = [this](const core::Error& e) { ComPort1Gone(e); };
  HidCtl.on_device_change = [this] { HidCtlDeviceChange(); };
  HidCtl.on_device_data_error = [this](links::HidRecord& device, const core::Error& e) {
    HidCtlDeviceDataError(device, e);
  };
}

void TForm1::FormCreate() {
  if (app::OpeningScreenWanted(args)) {
    opening_screen = std::make_unique<TOKBottomDlg_openingsscherm>();
    dialogs.show_modal(*opening_screen);
    if (opening_screen->modal_result == ui::ModalResult::ok) opening_screen.reset();
  }
  program_folder = app::FolderOf(executable_path);
  port_name = config::default_port_name;
  rx_count = 0;
  rx_buffer.clear();
  error_count = 0;
  staged_download = false;
  soft_restart = false;
  fast_baud = false;
  finish_wait = 0;
  move_to(0, 0);
}

void TForm1::FormShow() {
  Panel_communication_offline.move_to(8, 168);
  Panel_ready_for_download.move_to(8, 168);
  Panel_Acces_level_problem.move_to(58, 16);
  GroupBox_set_communicationport.move_to(1, 3);
  GroupBox_gauge_up_down_loading.move_to(107, 168);
  Panel_olderversion_text.move_to(69, 168);
  Panel_tekstveld.move_to(8, 8);
  focused = &SpeedButton_open_file;
}
