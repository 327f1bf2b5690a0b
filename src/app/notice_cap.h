// Caps the refusal boxes of one long operation (an import): the first boxes
// are shown, the rest only counted, so a bad file cannot keep the window
// behind box after box. One cap per operation; user-interface thread only.
#pragma once

class NoticeCap {
 public:
  explicit NoticeCap(int limit) : limit_(limit) {}

  // True while fewer than `limit` boxes were allowed; otherwise counts one
  // more held back and gives false.
  bool allow() {
    if (allowed_ < limit_) {
      ++allowed_;
      return true;
    }
    ++held_back_;
    return false;
  }

  // Boxes refused by allow() so far.
  int held_back() const { return held_back_; }

 private:
  int limit_;
  int allowed_ = 0;
  int held_back_ = 0;
};
