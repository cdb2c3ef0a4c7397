#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

// Every text the program shows the user, each in one place, spelled exactly as
// the program has always shown it (slips such as "demaged" included): users go by
// these very words. A folder of its own that includes nothing of ours, so that
// every part of the program, and the front ends that read a panel back, can use
// it without reaching into another part's folder.
namespace texts {

// --- The window's frame and the opening screen ---

inline constexpr const char* window_caption = "ZEK Firmware downloader V2.8 test baudrate new";
inline constexpr const char* program_name = "ZEK Firmware downloader";
inline constexpr const char* version_label = "Version: V";
inline constexpr const char* program_version = "2.8 test auto comsearch";
inline constexpr const char* maker = "ZEK Engineering       ";
inline constexpr const char* opening_ok = "OK";
inline constexpr const char* window_usage =
    "usage: zekflash [-O] [-1 ... -9] [--trace TRACE]\n"
    "Opens the window that downloads firmware images and download scripts into\n"
    "ZEK control units over a serial port or the units' USB HID bridge.\n"
    "\n"
    "  -O           do not show the opening screen\n"
    "  -1 ... -9    use COM1 ... COM9 (/dev/ttyS0 ... /dev/ttyS8) when a port\n"
    "               configuration file cannot be read\n"
    "  --trace TRACE  write a support trace to the file TRACE (also taken from\n"
    "               ZEKFLASH_TRACE)\n"
    "  -h, --help   show this text\n"
    "  --version    show the program's name and version\n"
    "\n"
    "Apart from --trace, only the first two arguments are looked at.\n"
    "ZEKFLASH_PORTS (colon-separated device paths) adds ports to the port search.\n";

// --- Buttons of the panels ---

inline constexpr const char* ok_button = "&Ok";
inline constexpr const char* cancel_button = "&Cancel";
inline constexpr const char* ignore_button = "&Ignore";
inline constexpr const char* download_button = "&Download";
inline constexpr const char* retry_button = "&Retry";
inline constexpr const char* rescan_button = "&Rescan";
inline constexpr const char* save_button = "&Save";

// --- The window's fixed content ---

inline constexpr const char* file_info_title = "  File info";
inline constexpr const char* ecu_info_title = "  ECU info";
inline constexpr const char* version_info = "Version info:";
inline constexpr const char* serial_number = "Serial number:";
inline constexpr const char* open_file = "Open file";
inline constexpr const char* port_settings = "Port settings ";
inline constexpr const char* please_wait = "Please wait";
inline constexpr const char* downloading = "Down-loading firmware";

// The link error label: this until the first request, then the port and its count.
inline constexpr const char* comm_errors = "Comm errors:";
inline std::string PortErrors(const std::string& port, std::int32_t count) {
  return port + " errors:" + std::to_string(count);
}

// The ECU info box's title for the kind of unit a file is for, by the letter of
// the file's name that tells the kind.
inline constexpr std::array<std::pair<char, const char*>, 6> unit_kind_titles{{
    {'M', "Motormanagement ECU info"},
    {'D', "Display info"},
    {'F', "Fuel ECU info"},
    {'I', "Ignition ECU info"},
    {'L', "Lamdacontroller info"},
    {'E', "ETC module info"},
}};

// The file-open dialog's filters, in order: the name the user reads, then the
// patterns it stands for.
inline constexpr std::array<std::pair<const char*, const char*>, 11> open_file_filters{{
    {"All ZEK Firmware downloads",
     "*.fm0; *.fm1; *.fd0; *.fd1;*.ff0;  *.ff1;*.fi0; *.fi1;*.fl0;*.fe1"},
    {"Firmware Motormanagement (*.fm0)", "*.fm0"},
    {"Firmware Motormanagement (*.fm1)", "*.fm1"},
    {"Firmware Display (*.fd0)", "*.fd0"},
    {"Firmware Display (*.fd1)", "*.fd1"},
    {"Firmware Fuel (*.ff0)", "*.ff0"},
    {"Firmware Fuel (*.ff1)", "*.ff1"},
    {"Firmware Ignition (*.fi0)", "*.fi0"},
    {"Firmware Ignition (*.fi1)", "*.fi1"},
    {"Firmware Lamdacontroller (*.fl0)", "*.fl0"},
    {"Firmware ETC (*.fe1)", "*.fe1"},
}};

// --- Opening a file ---

inline constexpr const char* running_question =
    "A firmware download is running.\r\nStop it and open another file?";
inline constexpr const char* reading_error = "Error on reading file";
inline constexpr const char* no_blocks = "Error on reading file (no 1024 data blocks)";
inline std::string NoBlocksIn(const std::string& file) {
  return "Error on reading file:" + file + " (no 1024 data blocks)";
}
inline constexpr const char* damaged_1 = "Content of file is demaged";
inline std::string DamagedFile(const std::string& file) {
  return "Content of file:" + file + " is damaged";
}
inline constexpr const char* new_file = "Download new file again from ZEK site";
inline constexpr const char* unsupported_1 = "This file is not";
inline constexpr const char* unsupported_2 = "supported with this software";
// A download script whose steps name no firmware image before "[begin2]".
inline constexpr const char* no_image_1 = "This script names no firmware file";
inline constexpr const char* no_image_2 = "Please select the correct file";
// A script step that cannot read its script or the image it names.
inline std::string ReadingErrorOn(const std::string& file) {
  return "Error on reading file: " + file;
}

// --- The older-version panel ---

inline constexpr const char* older_1 = "The Version of the Firmware is older";
inline constexpr const char* older_2 = "then the version in the ECU !!!";
// A unit of another type: here with `select_correct_file`; on the offline panel,
// when the port search found none of the file's type, with `wrong_unit_2` and `_3`.
inline constexpr const char* not_compatible = "File type is not compatible to the system";
inline constexpr const char* select_correct_file = "Please select the correct file!!!";

// --- The offline panel, in its offline and its refusal form ---

inline constexpr const char* offline_1 = "Communication is offline";
inline constexpr const char* offline_2 = "Check Power to the System and communication cable !!!";
inline std::string Disconnected(const std::string& port) {
  return port + " was disconnected";
}
// The port (or its driver) will not run at the rate the unit talks at.
inline std::string RateRefused(const std::string& port, int baud) {
  return port + " cannot run at " + std::to_string(baud) + " baud";
}
inline constexpr const char* no_port_1 = "No Com port or connection is found";
inline constexpr const char* no_port_2 = "Please check USB cable and that the Power(12V)";
inline constexpr const char* no_port_3 = "is connected to ECU !!!";
inline constexpr const char* wrong_unit_2 = "Please select the correct file or";
inline constexpr const char* wrong_unit_3 = "connect the correct ECU !!!";
inline constexpr const char* only_when = "Firmware download only Possible when";
inline constexpr const char* motor_running = "the motor is not running !!!";
inline constexpr const char* battery_low = "the Battery voltage is higher then 11,0 Volt !!!";
inline constexpr const char* start_failed_1 = "Start firmware download has failed";
inline constexpr const char* start_failed_2 = "Please try again !!!";
inline constexpr const char* not_possible = "Not possible to change the firmware";
inline constexpr const char* call_supplier = "Call your supplier for information !!!";
inline constexpr const char* memory_damaged = "The System memory is damaged";
inline constexpr const char* do_not_power = "Do NOT Powerup the system";
inline constexpr const char* switch_off = "Switch system power off !!!";
inline constexpr const char* close_and_retry = "Close the programm and try again";
// The unit answered the prepare or the restart request with something but "OK";
// the second line is `start_failed_2`.
inline constexpr const char* prepare_refused = "The ECU refused to prepare the download";
inline constexpr const char* restart_refused = "The ECU refused to restart";

// --- The ready panel ---

inline constexpr const char* ready_1 = "Press the Download button for downloading the new firmware";
inline constexpr const char* ready_2 = "or press Cancel to abort";
inline constexpr const char* finished_1 = "Firmware download is ready. Turn the Power off";
inline constexpr const char* finished_2 = "press the Ok button and close the program";
inline constexpr const char* script_finished_1 =
    "Firmware download is ready now. Turn the Power off";
inline constexpr const char* power_cycle_1 = "WARNING next part of firmware downloading will start";
inline constexpr const char* power_cycle_2 =
    "After switching the power off for 2s and then switching on again";

// --- The access level panel ---

inline constexpr const char* access_level_1 = "User access level must be set as above !!!";
inline constexpr const char* access_level_2 = "To do this use the standard ZEK software";

// --- Message boxes of the download and its links ---

inline constexpr const char* download_failed =
    "firmware download has failed !!!\r\r\nPlease try again";
inline constexpr const char* block_read_error = "Error on reading blocks from file";
inline constexpr const char* comm_error_test = "Comm Error test";
inline constexpr const char* comm_error_test2 = "Comm Error test2";
inline constexpr const char* communicatie_error = "Communicatie Error";

// --- Message boxes and the label of the HID bridge link ---

inline constexpr const char* usb_error_1 = "USB Communicatie Error _1 geen apparaat aangesloten";
inline constexpr const char* usb_error_2 = "USB Communicatie Error _2";
inline constexpr const char* usb_error_4 = "USB Communicatie Error 4";
inline constexpr const char* usb_error_3_chunks = "USB Communicatie Error 3 brokjes";
inline constexpr const char* check_usb = "Check USB connection";
inline constexpr const char* check_usb_chunks = "Check USB connection brokjes";
inline constexpr const char* usb_error = "USB Communicatie Error";
inline constexpr const char* usb_error_chunks = "USB Communicatie Error brokjes";
// Label1 after a failed read, followed by the system's text.
inline constexpr const char* data_error = "Data Error:";
// The bridge is plugged in, but its device node is closed to this user (Linux).
inline std::string HidNoAccess(const std::string& node) {
  return "The USB HID bridge \"HIDtoUART ZEK\" is plugged in, but this user may not use it (" +
         node +
         ").\r\nInstall the udev rule packaging/udev/70-zekflash.rules as the README's section "
         "\"Cable access without root\" says, then plug the bridge in again.";
}
// The bridge is plugged in, but another program holds it for itself (Windows).
inline std::string HidInUse(const std::string& node) {
  return "The USB HID bridge \"HIDtoUART ZEK\" is plugged in, but another program holds it (" +
         node +
         ").\r\nClose that program (another downloader, or a tool that talks to the bridge), "
         "then try again.";
}
// A device named like the bridge whose reports are not the bridge's.
inline std::string HidNotTheBridge(const std::string& node, const std::string& why) {
  return "A device named \"HIDtoUART ZEK\" is plugged in (" + node +
         "), but it is no bridge this program can use: " + why +
         ".\r\nUnplug it and plug in the ZEK bridge.";
}
inline constexpr const char* hid_capabilities_unreadable = "its capabilities cannot be read";
inline constexpr const char* hid_no_input_report = "it sends no input reports";
inline constexpr const char* hid_no_output_report_2 = "it has no output report 2";
inline std::string HidShortOutputReport(std::size_t bytes, std::size_t needed) {
  return "its output report 2 holds " + std::to_string(bytes) + " bytes, fewer than the " +
         std::to_string(needed) + " a request needs";
}

// --- The port settings panel ---

inline constexpr const char* port_settings_title = "Communicationport";
inline constexpr const char* autoselect = "Autoselect comport";
inline constexpr const char* rs232_title = "RS232";
inline constexpr const char* rs232_units = "Motormanagement 3M, Display, Fuel";
inline constexpr const char* rs232_over_usb_title = "RS232 over USB";
inline constexpr const char* rs232_over_usb_units = "Motormanagement 4M, 6M, 8M, ETC";
inline constexpr const char* hid_title = "HID over USB";
inline constexpr const char* hid_units = "Display, Lambda controller";

// --- Port configuration messages ---

inline std::string CantFind(const std::string& file) {
  return "Can't find " + file + " file";
}
inline constexpr const char* create_default_question = "Do you want to create a default file";
inline std::string WriteErrorDefault(const std::string& file) {
  return "Write Error default File: " + file;
}
inline std::string WriteError(const std::string& file) {
  return "Write Error File: " + file;
}
inline constexpr const char* do_not_edit = "Do not edit\r\nuse pulldown menu !!!";
inline constexpr const char* running_save_question =
    "A firmware download is running.\r\nStop it and change the port?";
// The port just saved could not be opened in place of the one that was open.
inline std::string CantOpenPort(const std::string& port, const std::string& reason) {
  return "Can't open port " + port + " (" + reason + ")";
}
// --trace or ZEKFLASH_TRACE names a file that cannot be created or emptied.
inline std::string TraceNotWritable(const std::string& file, const std::string& reason) {
  return "The trace file " + file + " cannot be written: " + reason;
}
inline constexpr const char* trace_needs_file = "--trace needs a file name: --trace FILE";
inline std::string RegistryError(int code) {
  return "Registry error (win error code: " + std::to_string(code) + ")";
}

// The titles of the message boxes of each kind (a plain box has the program's
// name) and of the file-open dialog.
inline constexpr const char* error_box_title = "Error";
inline constexpr const char* warning_box_title = "Warning";
inline constexpr const char* question_box_title = "Confirm";
inline constexpr const char* open_dialog_title = "Open";

// The maker's logo on the opening screen.
inline constexpr const char* logo_letters = "ZEK";
inline constexpr const char* logo_line = "ENGINE MANAGEMENT SYSTEMS";

// The access-level picture: the settings dialog of the standard software.
inline constexpr const char* access_level_dialog_title = "Unit settings - User access level";
inline constexpr const char* access_level_group = "User access level";
inline constexpr const char* access_level_ok = "OK";
inline constexpr const char* access_level_cancel = "Cancel";
// The unit's user access-level options as the access-level picture shows them
// set: which are ticked, and their names.
struct AccessLevelOption {
  bool on;
  const char* text;
};
inline constexpr AccessLevelOption access_level_options[] = {{true, "Diagnostics: read"},
                                                             {true, "Diagnostics: write"},
                                                             {false, "Read only"},
                                                             {false, "Dashboard only"},
                                                             {false, "No access"}};

}  // namespace texts
