#include "adjust/KitLine.h"

namespace lumora {

SerialLineSettings KitLineSettings() {
    SerialLineSettings line;
    line.BaudRate = 9600;
    line.ByteSize = 8;
    line.Parity = SerialParity::None;
    line.StopBits = SerialStopBits::One;
    line.Binary = true;
    line.XonChar = 0x11;  // DC1
    line.XoffChar = 0x13; // DC3
    return line;
}

} // namespace lumora
