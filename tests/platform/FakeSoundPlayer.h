#pragma once

#include "platform/SoundPlayer.h"

#include <vector>

// Records every sound asked for, in order.
class TFakeSoundPlayer final : public ISoundPlayer
{
public:
    std::vector<int32_t> Played;
    void Play(int32_t alarmSound) override { Played.push_back(alarmSound); }
};
