#pragma once

// The texts the download control shows, each in one place.
namespace texts {

inline constexpr const char* offline_1 = "Communication is offline";
inline constexpr const char* offline_2 = "Check Power to the System and communication cable !!!";
inline constexpr const char* no_port_1 = "No Com port or connection is found";
inline constexpr const char* no_port_2 = "Please check USB cable and that the Power(12V)";
inline constexpr const char* no_port_3 = "is connected to ECU !!!";
inline constexpr const char* wrong_unit_1 = "File type is not compatible to the system";
inline constexpr const char* wrong_unit_2 = "Please select the correct file or";
inline constexpr const char* wrong_unit_3 = "connect the correct ECU !!!";
inline constexpr const char* only_when = "Firmware download only Possible when";
inline constexpr const char* motor_running = "the motor is not running !!!";
inline constexpr const char* battery_low = "the Battery voltage is higher then 11,0 Volt !!!";
inline constexpr const char* ready_1 = "Press the Download button for downloading the new firmware";
inline constexpr const char* ready_2 = "or press Cancel to abort";
inline constexpr const char* start_failed_1 = "Start firmware download has failed";
inline constexpr const char* start_failed_2 = "Please try again !!!";
inline constexpr const char* not_possible = "Not possible to change the firmware";
inline constexpr const char* call_supplier = "Call your supplier for information !!!";
inline constexpr const char* memory_damaged = "The System memory is damaged";
inline constexpr const char* do_not_power = "Do NOT Powerup the system";
inline constexpr const char* switch_off = "Switch system power off !!!";
inline constexpr const char* close_and_retry = "Close the programm and try again";
inline constexpr const char* finished_1 = "Firmware download is ready. Turn the Power off";
inline constexpr const char* finished_2 = "press the Ok button and close the program";
inline constexpr const char* script_finished_1 =
    "Firmware download is ready now. Turn the Power off";
inline constexpr const char* power_cycle_1 = "WARNING next part of firmware downloading will start";
inline constexpr const char* power_cycle_2 =
    "After switching the power off for 2s and then switching on again";
inline constexpr const char* download_failed =
    "firmware download has failed !!!\r\r\nPlease try again";
inline constexpr const char* block_read_error = "Error on reading blocks from file";
inline constexpr const char* comm_error_test = "Comm Error test";
inline constexpr const char* comm_error_test2 = "Comm Error test2";
inline constexpr const char* communicatie_error = "Communicatie Error";

}  // namespace texts
