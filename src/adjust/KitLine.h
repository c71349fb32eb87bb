#pragma once
// The radio-clock kit's serial line as the fields of the port's device control block: what the
// shell writes over the block it read from the port, so that everything not named here keeps the
// driver's own value. Numbers as the serial API has them.

#include <cstdint>

namespace lumora {

enum class SerialParity : uint8_t { None = 0, Odd = 1, Even = 2, Mark = 3, Space = 4 };
enum class SerialStopBits : uint8_t { One = 0, OneAndAHalf = 1, Two = 2 };
// DTR and RTS; RTS has a fourth setting (toggle) the kit never needs.
enum class SerialLineControl : uint8_t { Off = 0, On = 1, Handshake = 2 };

// Every switch defaults to off.
struct SerialLineSettings {
    uint32_t BaudRate = 0;
    uint8_t ByteSize = 0;
    SerialParity Parity = SerialParity::None;
    SerialStopBits StopBits = SerialStopBits::One;
    bool Binary = false; // the only mode Windows has: a port refuses a block without it
    bool CheckParity = false;
    bool OutxCtsFlow = false;
    bool OutxDsrFlow = false;
    SerialLineControl DtrControl = SerialLineControl::Off;
    SerialLineControl RtsControl = SerialLineControl::Off;
    bool DsrSensitivity = false;
    bool OutX = false; // XON/XOFF flow control while sending
    bool InX = false;  // and while receiving
    bool ReplaceErrors = false;
    bool DiscardNulls = false;
    bool AbortOnError = false; // on, every read after a line error would fail until the error is cleared
    // Unused without XON/XOFF, yet a port refuses a block where the two are equal.
    char XonChar = 0;
    char XoffChar = 0;
};

// 9600 baud, 8 data bits, no parity, 1 stop bit; no flow control of any kind, DTR and RTS off.
SerialLineSettings KitLineSettings();

} // namespace lumora
