// The pole figures held at once: slot 1 in the main window, 2..8 in windows of their own.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <utility>

#include "record/pole_figure.h"

namespace quorix {

inline constexpr int kSlotCount = 8;

struct PoleFigureSet {
  // PF[1] lives for the whole run; PF[2..8] exist while their window is shown.
  std::array<std::unique_ptr<PoleFigure>, kSlotCount + 1> PF;

  PoleFigureSet() { PF[1] = NewPoleFigure(); }
  bool Occupied(int n) const { return n >= 1 && n <= kSlotCount && PF[n] != nullptr; }
  void Release(int n) {
    if (n >= 2 && n <= kSlotCount) PF[n].reset();
  }
  void SwapWithMain(int n) {
    if (n >= 2 && n <= kSlotCount) std::swap(PF[1], PF[n]);
  }
};

// Window titles of loaded pole figures: "k * " + file name part, and for
// multi-pole-figure files "  [" + number + "]  " + "  [" + name + "]".
std::string MultiSuffix(int index, const std::string& itemText);
std::string SlotTitle(int slot, const std::string& fileName, const std::string& suffix);

}  // namespace quorix
