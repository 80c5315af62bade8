#pragma once

#include "calc/Calculator.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// Records what the engine asks of its page.
class TFakeCalcHost final : public ICalcHost
{
public:
    std::vector<std::string> Clipboard;
    int Row = TCalculator::XRow;
    int Repaints = 0;

    void PutOnClipboard(const std::string& text) override { Clipboard.push_back(text); }
    int SelectedRow() const override { return Row; }
    void Repainted() override { ++Repaints; }
};

class CalcTest : public ::testing::Test
{
protected:
    std::shared_ptr<TFakeCalcHost> HostLink = std::make_shared<TFakeCalcHost>();
    TFakeCalcHost& Host = *HostLink;
    TCalculator Calc;

    CalcTest() { Calc.SetHost(HostLink); }

    // Types each character; false if any was rejected.
    bool Type(const std::string& keys)
    {
        bool all = true;
        for (char c : keys)
            all = Calc.CalcKey(static_cast<uint8_t>(c)) && all;
        return all;
    }
    void Enter() { Calc.CalcKey(13); }
    double X() const { return Calc.CalcStack[0]; }
    double Y() const { return Calc.CalcStack[1]; }
    double Z() const { return Calc.CalcStack[2]; }
    // Fills the stack so that level k holds values[k].
    void SetStack(std::initializer_list<double> values)
    {
        Calc.CalcStack.fill(0);
        size_t k = 0;
        for (double v : values)
            Calc.CalcStack[k++] = v;
        Calc.EntryState = esResult;
    }
};
