#pragma once

// How the controller shows itself to the system.
namespace controllerids {

// The product name of its MIDI ports.
constexpr char kPortName[] = "Korvel Mavu";
// Its USB identity in normal mode, as it appears in device paths.
constexpr char kUsbPathId[] = "VID_0416&PID_B009";
constexpr unsigned short kUsbVendorId = 0x0416;
constexpr unsigned short kUsbProductId = 0xB009;
// Device type texts passed from detection to the exchange.
constexpr char kMidiDeviceType[] = "zt118";
constexpr char kSerialDeviceType[] = "zt118SerialDev";

} // namespace controllerids
