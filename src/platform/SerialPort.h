#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

// A modem on a serial port, written to and never read. Behind a seam so tests
// can stand in for the port.
class ISerialPort
{
public:
    virtual ~ISerialPort() = default;
    // Opens the device for this program alone and sets it to 9600 baud, 8 data
    // bits, no parity, one stop bit. False when it cannot be opened or set up;
    // then nothing is left open.
    virtual bool OpenComPort(const QString& device) = 0;
    // Sends the bytes and waits until they have left.
    virtual void WriteComBuffer(const QByteArray& buffer) = 0;
    virtual void CloseComPort() = 0;
};

// The device of the numbered port 1..255: "COM2" on Windows, /dev/ttyS1 on
// other systems.
QString ComPortDevice(int port);

// The port through Qt Serial Port, which lives in a module of its own
// (talvo95-serial) loaded with the first port opened: the program starts
// without the serial library. Where the module cannot be loaded no port opens,
// and the reason is written to the error output.
class TSerialPort final : public ISerialPort
{
public:
    // `module`: the module's file; by default the one beside the program or
    // where the package installs it.
    explicit TSerialPort(QString module = {});
    ~TSerialPort() override;
    bool OpenComPort(const QString& device) override;
    void WriteComBuffer(const QByteArray& buffer) override;
    void CloseComPort() override;

private:
    QStringList ModuleFiles() const;
    bool LoadModule();

    QString ModuleFile;
    std::unique_ptr<ISerialPort> Port;
};
