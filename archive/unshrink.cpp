// Unshrink: ZIP method 1 ("shrunk"), the dynamic LZW of the PKWARE APPNOTE. Codes are
// read least significant bit first, starting at 9 bits; code 256 announces a control
// code: 1 widens the codes by one bit (up to 13), 2 frees every leaf of the code tree
// (a partial clear) so that its codes can be defined again from 257 on. The table
// holds 8,192 codes. Malformed data (codes wider than 13 bits, chains that loop) fails
// the entry with EAbZipBadCRC; everything else ends with whatever output it made and
// leaves the verdict to the CRC check.
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

#include "archive/decoders.h"
#include "archive/exceptions.h"
#include "archive/history_window.h"
#include "archive/lsb_bit_reader.h"

namespace setuvane::archive {
namespace {

constexpr int kInitialCodeSize = 9;
constexpr int kMaxCodeSize = 13;
constexpr int kTableSize = 1 << kMaxCodeSize;  // codes 0..8191
constexpr int kControlCode = 256;
constexpr int kFirstFreeCode = 257;
// A free code's prefix: one past the table, where the spare entry 8,192 lives, so
// that marking prefixes needs no test for free codes.
constexpr uint16_t kFree = 8192;
constexpr uint32_t kWidenCodes = 1;
constexpr uint32_t kPartialClear = 2;

static_assert(kTableSize == 8192, "the shrink code table has 8,192 entries");

class Unshrinker {
 public:
  // Only the literals and the control code are set up: every code above the highest
  // defined one counts as free whatever its entry holds, and codes are defined in
  // order without gaps, so the table is filled as the stream defines codes. A small
  // entry then never touches the 8,192 entries of the whole table.
  Unshrinker(ByteSource& input, ByteSink& output) : bits_(input), out_(output, 0) {
    for (int code = 0; code < 256; ++code) {
      prefix_[code] = 0;
      suffix_[code] = static_cast<uint8_t>(code);
    }
    prefix_[kControlCode] = kFree;
  }

  void Run() {
    uint32_t code;
    if (!bits_.Read(kInitialCodeSize, code)) return;
    oldCode_ = static_cast<int>(code);
    lastFirst_ = static_cast<uint8_t>(code);
    out_.Put(lastFirst_);

    while (ReadDataCode(code)) {
      WriteString(static_cast<int>(code));
      if (nextFree_ < kTableSize) {
        prefix_[nextFree_] = static_cast<uint16_t>(oldCode_);
        suffix_[nextFree_] = lastFirst_;
        if (nextFree_ > highest_) highest_ = nextFree_;
        AdvanceNextFree(nextFree_ + 1);
      }
      oldCode_ = static_cast<int>(code);
    }
    out_.Flush();
  }

 private:
  bool IsFree(int code) const { return code >= kControlCode && (code > highest_ || prefix_[code] == kFree); }

  // Reads the next code that is not a control sequence, acting on the control codes
  // met on the way; false once the input is used up.
  bool ReadDataCode(uint32_t& code) {
    for (;;) {
      if (!bits_.Read(codeSize_, code)) return false;
      if (code != kControlCode) return true;
      uint32_t control;
      if (!bits_.Read(codeSize_, control)) return false;
      if (control == kWidenCodes) {
        if (++codeSize_ > kMaxCodeSize) throw EAbZipBadCRC();
      } else if (control == kPartialClear) {
        PartialClear();
      }
    }
  }

  // Frees every defined code that no other defined code uses as its prefix (the
  // leaves), then restarts the search for free codes at 257. Every code up to the
  // highest defined one is scanned, not only those below the next free one: after
  // an earlier clear the codes above it are in use as well, and the encoder frees
  // their leaves too. Codes above the highest defined one are all free, so the scan
  // stops there: a stream of clears on a small table (cheap to write, 18 bits each)
  // then costs little, where scanning the whole table cost 16,000 steps a clear.
  void PartialClear() {
    // Marks above the highest code may be left from an earlier clear; none is read.
    std::fill_n(isPrefix_.begin(), highest_ + 1, uint8_t{0});
    for (int code = kFirstFreeCode; code <= highest_; ++code) isPrefix_[prefix_[code]] = 1;
    int highest = kControlCode;
    for (int code = kFirstFreeCode; code <= highest_; ++code) {
      if (isPrefix_[code]) {
        highest = code;
      } else {
        prefix_[code] = kFree;
      }
    }
    highest_ = highest;
    AdvanceNextFree(kFirstFreeCode);
  }

  void AdvanceNextFree(int from) {
    nextFree_ = from;
    while (nextFree_ < kTableSize && !IsFree(nextFree_)) ++nextFree_;
  }

  // Writes the string of `code`: its bytes are collected backwards on the stack while
  // following the prefix chain. A free code stands for the previous string plus its
  // own first byte (the code being defined right now); when the previous code is
  // free as well (freed by a partial clear, or itself such a code), the chain would
  // go round that code until the stack is full, so it fails at once. A chain longer
  // than the stack can only come from a loop in malformed data.
  void WriteString(int code) {
    int top = kTableSize;  // the stack grows downwards; bytes are stack_[top, kTableSize)
    while (code >= kControlCode) {
      if (top == 0) throw EAbZipBadCRC();
      if (IsFree(code)) {
        if (IsFree(oldCode_)) throw EAbZipBadCRC();
        stack_[--top] = lastFirst_;
        code = oldCode_;
      } else {
        stack_[--top] = suffix_[code];
        code = prefix_[code];
      }
    }
    lastFirst_ = static_cast<uint8_t>(code);
    out_.Put(lastFirst_);
    out_.Append(&stack_[top], kTableSize - top);
  }

  LsbBitReader bits_;
  HistoryWindow out_;
  std::array<uint16_t, kTableSize + 1> prefix_;
  std::array<uint8_t, kTableSize + 1> suffix_;
  std::array<uint8_t, kTableSize + 1> isPrefix_;  // PartialClear's marks
  std::array<uint8_t, kTableSize> stack_;
  int codeSize_ = kInitialCodeSize;
  int nextFree_ = kFirstFreeCode;
  int highest_ = kControlCode;  // the highest defined code (256: none yet)
  int oldCode_ = 0;
  uint8_t lastFirst_ = 0;
};

static_assert(HistoryWindow::kMaxRun >= kTableSize, "a whole string fits one Append");

}  // namespace

void Unshrink(ByteSource& input, ByteSink& output) {
  auto decoder = std::make_unique<Unshrinker>(input, output);
  decoder->Run();
}

}  // namespace setuvane::archive
