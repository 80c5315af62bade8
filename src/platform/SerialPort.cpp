#include "platform/SerialPort.h"

#include <QCoreApplication>
#include <QLibrary>
#include <cstdio>

using namespace Qt::StringLiterals;

QString ComPortDevice(int port)
{
#ifdef Q_OS_WIN
    return u"COM%1"_s.arg(port);
#else
    return u"/dev/ttyS%1"_s.arg(port - 1);
#endif
}

TSerialPort::TSerialPort(QString module)
    : ModuleFile(std::move(module))
{
}

TSerialPort::~TSerialPort()
{
    CloseComPort();
}

QStringList TSerialPort::ModuleFiles() const
{
    if (!ModuleFile.isEmpty())
        return { ModuleFile };
    // Beside the program, as in the build tree and on Windows; else where the
    // package installs it, found from the program's own folder.
    const QString folder = QCoreApplication::applicationDirPath();
    return { folder + u"/talvo95-serial"_s,
        folder + u'/' + QStringLiteral(TALVO_SERIAL_MODULE_FROM_PROGRAM) + u"/talvo95-serial"_s };
}

bool TSerialPort::LoadModule()
{
    if (Port)
        return true;
    QString reasons;
    for (const QString& file : ModuleFiles()) {
        QLibrary module(file);
        // The module stays loaded for the rest of the session: the port it
        // made may outlive this call.
        using TMake = ISerialPort* (*)();
        if (const auto make = reinterpret_cast<TMake>(module.resolve("TalvoMakeSerialPort"))) {
            Port.reset(make());
            return true;
        }
        reasons += module.errorString() + u'\n';
    }
    std::fprintf(stderr, "Talvo95: serial ports cannot be used:\n%s", qPrintable(reasons));
    return false;
}

bool TSerialPort::OpenComPort(const QString& device)
{
    return LoadModule() && Port->OpenComPort(device);
}

void TSerialPort::WriteComBuffer(const QByteArray& buffer)
{
    if (Port)
        Port->WriteComBuffer(buffer);
}

void TSerialPort::CloseComPort()
{
    if (Port)
        Port->CloseComPort();
}
