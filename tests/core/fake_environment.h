// Environment answers made of plain data, counting what was asked.
#pragma once

#include "core/program/environment_check.h"

namespace setuvane::fakes {

class FakeEnvironment : public EnvironmentQueries {
 public:
  FakeEnvironment(int cleanBoot, int mousePresent, int bitsPerPixel)
      : cleanBoot_(cleanBoot), mousePresent_(mousePresent), bitsPerPixel_(bitsPerPixel) {}
  int CleanBoot() const override { return ++asked, cleanBoot_; }
  int MousePresent() const override { return ++asked, mousePresent_; }
  int BitsPerPixel() const override { return ++asked, bitsPerPixel_; }
  mutable int asked = 0;

 private:
  int cleanBoot_, mousePresent_, bitsPerPixel_;
};

}  // namespace setuvane::fakes
