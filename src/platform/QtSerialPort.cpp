// The serial port through Qt Serial Port, built as a module of its own that the
// program loads with the first dial (see TSerialPort): the serial library, and
// the device library under it, are then not loaded at every start.
#include "platform/SerialPort.h"

#include <QSerialPort>

namespace
{

// How long one write may take before the port is given up on: a modem takes
// a dial command at once.
constexpr int WriteTimeoutMs = 2000;

class TQtSerialPort final : public ISerialPort
{
public:
    ~TQtSerialPort() override { CloseComPort(); }

    bool OpenComPort(const QString& device) override
    {
        CloseComPort();
        auto port = std::make_unique<QSerialPort>(device);
        // Qt opens a serial port exclusively (a lock file and TIOCEXCL on Unix,
        // no sharing on Windows). Nothing is ever read, so no read timeouts apply.
        if (!port->open(QIODevice::ReadWrite))
            return false;
        if (!port->setBaudRate(QSerialPort::Baud9600) || !port->setDataBits(QSerialPort::Data8)
            || !port->setParity(QSerialPort::NoParity)
            || !port->setStopBits(QSerialPort::OneStop)) {
            port->close();
            return false;
        }
        ComHandle = std::move(port);
        return true;
    }

    void WriteComBuffer(const QByteArray& buffer) override
    {
        if (!ComHandle)
            return;
        ComHandle->write(buffer);
        while (ComHandle->bytesToWrite() > 0)
            if (!ComHandle->waitForBytesWritten(WriteTimeoutMs))
                break;
    }

    void CloseComPort() override
    {
        if (!ComHandle)
            return;
        ComHandle->close();
        ComHandle.reset();
    }

private:
    std::unique_ptr<QSerialPort> ComHandle;
};

} // namespace

extern "C" Q_DECL_EXPORT ISerialPort* TalvoMakeSerialPort()
{
    return new TQtSerialPort;
}
