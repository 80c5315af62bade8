#include "platform/SerialPort.h"

#include <QSerialPort>

using namespace Qt::StringLiterals;

namespace
{

// How long one write may take before the port is given up on: a modem takes
// a dial command at once.
constexpr int WriteTimeoutMs = 2000;

} // namespace

QString ComPortDevice(int port)
{
#ifdef Q_OS_WIN
    return u"COM%1"_s.arg(port);
#else
    return u"/dev/ttyS%1"_s.arg(port - 1);
#endif
}

TSerialPort::TSerialPort() = default;

TSerialPort::~TSerialPort()
{
    CloseComPort();
}

bool TSerialPort::OpenComPort(const QString& device)
{
    CloseComPort();
    auto port = std::make_unique<QSerialPort>(device);
    // Qt opens a serial port exclusively (a lock file and TIOCEXCL on Unix,
    // no sharing on Windows). Nothing is ever read, so no read timeouts apply.
    if (!port->open(QIODevice::ReadWrite))
        return false;
    if (!port->setBaudRate(QSerialPort::Baud9600) || !port->setDataBits(QSerialPort::Data8)
        || !port->setParity(QSerialPort::NoParity) || !port->setStopBits(QSerialPort::OneStop)) {
        port->close();
        return false;
    }
    ComHandle = std::move(port);
    return true;
}

void TSerialPort::WriteComBuffer(const QByteArray& buffer)
{
    if (!ComHandle)
        return;
    ComHandle->write(buffer);
    while (ComHandle->bytesToWrite() > 0)
        if (!ComHandle->waitForBytesWritten(WriteTimeoutMs))
            break;
}

void TSerialPort::CloseComPort()
{
    if (!ComHandle)
        return;
    ComHandle->close();
    ComHandle.reset();
}
