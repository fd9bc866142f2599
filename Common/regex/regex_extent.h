// What every successful match of a node consumes: at least `minimum` and at most `maximum`
// characters, among them each of the `required` characters. A whole-text match compares the
// text with its pattern's extent first and rejects at once a text that no way of matching
// could cover, which is most of the invalid inputs a validator sees (wrong length, a missing
// '@'). The answer is the same as the full match would give.
#pragma once

#include <climits>

struct CRegexExtent {
  static constexpr int kUnbounded = INT_MAX;
  static constexpr int kMaxRequired = 4;

  int minimum = 0;
  int maximum = 0;
  int required[kMaxRequired] = {};  // character codes
  int requiredCount = 0;

  static CRegexExtent Exactly(int length)
  {
    CRegexExtent extent;
    extent.minimum = extent.maximum = length;
    return extent;
  }
  static CRegexExtent Unknown()
  {
    CRegexExtent extent;
    extent.maximum = kUnbounded;
    return extent;
  }

  bool Requires(int code) const
  {
    for (int i = 0; i < requiredCount; ++i) {
      if (required[i] == code) {
        return true;
      }
    }
    return false;
  }
  void Require(int code)
  {
    if (requiredCount < kMaxRequired && !Requires(code)) {
      required[requiredCount++] = code;
    }
  }

  // This, then `next`.
  CRegexExtent Then(const CRegexExtent& next) const
  {
    CRegexExtent extent;
    extent.minimum = Add(minimum, next.minimum);
    extent.maximum = Add(maximum, next.maximum);
    extent.requiredCount = requiredCount;
    for (int i = 0; i < requiredCount; ++i) {
      extent.required[i] = required[i];
    }
    for (int i = 0; i < next.requiredCount; ++i) {
      extent.Require(next.required[i]);
    }
    return extent;
  }

  // This or `other`.
  CRegexExtent Or(const CRegexExtent& other) const
  {
    CRegexExtent extent;
    extent.minimum = minimum < other.minimum ? minimum : other.minimum;
    extent.maximum = maximum > other.maximum ? maximum : other.maximum;
    for (int i = 0; i < requiredCount; ++i) {
      if (other.Requires(required[i])) {
        extent.Require(required[i]);
      }
    }
    return extent;
  }

  // From `least` to `most` times in a row (`most` may be kUnbounded).
  CRegexExtent Times(int least, int most) const
  {
    CRegexExtent extent;
    extent.minimum = Multiply(minimum, least);
    extent.maximum = Multiply(maximum, most);
    if (least > 0) {
      extent.requiredCount = requiredCount;
      for (int i = 0; i < requiredCount; ++i) {
        extent.required[i] = required[i];
      }
    }
    return extent;
  }

 private:
  static int Add(int a, int b) { return a > kUnbounded - b ? kUnbounded : a + b; }
  static int Multiply(int a, int b)
  {
    if (a == 0 || b == 0) {
      return 0;
    }
    return a > kUnbounded / b ? kUnbounded : a * b;
  }
};
