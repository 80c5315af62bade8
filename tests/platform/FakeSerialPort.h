#pragma once

#include "platform/SerialPort.h"

#include <QStringList>

// A port that records what the program sent, or refuses to open.
class TFakeSerialPort final : public ISerialPort
{
public:
    bool Available = true;
    bool Open = false;
    QStringList Opened;
    QByteArray Written;
    bool OpenComPort(const QString& device) override
    {
        Opened << device;
        Open = Available;
        return Open;
    }
    void WriteComBuffer(const QByteArray& buffer) override { Written += buffer; }
    void CloseComPort() override { Open = false; }
};
