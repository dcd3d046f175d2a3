#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "ui/framework/CWindow.h"

// Tips for controls: once the pointer has rested on a tool for the delay
// (500 ms unless set), its text shows below the pointer until the pointer
// leaves the tool; a tool whose text is empty shows none. The pointer's
// movement over the tools reaches the tip by itself.
class CToolTip : public CWindow {
public:
    static constexpr int showTimer = 1;

    CToolTip();
    ~CToolTip() override;

    bool Create(CWindow& owner);
    void AddTool(CWindow& tool, const std::u16string& tipText);
    void UpdateTipText(CWindow& tool, const std::u16string& tipText);
    void SetDelay(std::chrono::milliseconds delay) { initialDelay = delay; }
    // Hides the tip showing now; it shows again once the pointer rests on the
    // tool for the delay.
    void Pop();

    // The text showing now; empty while no tip shows.
    std::u16string Shown() const;

    void OnTimer(int timerId) override;

    // From the framework: the pointer moved over, or left, a tool.
    void PointerOver(CWindow* tool);
    void PointerLeft(CWindow* tool);

private:
    struct Watch;
    std::map<CWindow*, std::u16string> tools;
    std::unique_ptr<Watch> watch;
    CWindow* current = nullptr;
    std::chrono::milliseconds initialDelay{500};
};
