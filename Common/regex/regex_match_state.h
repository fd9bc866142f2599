// The state of one match attempt: the backtrack stack, the capture stack and index, the
// positions, and the two bounds on the work of one match (backtracking steps and nesting of
// node calls). When a bound is exceeded the match is abandoned and fails.
#pragma once

#include "regex_buffer.h"
#include "regex_chartype.h"

// One capture: its group, where it started and ended (-1 while open), and a fourth field that
// counts re-entries (negative) while open and holds the close counter once closed.
struct CRegexCapture {
  int group;
  int start;
  int end;
  int extra;
};

template <typename CharT>
class CMatchState {
 public:
  // Far above what the input validators need (a few hundred steps for the longest field).
  static constexpr long long kDefaultStepLimit = 10'000'000;
  // Nested node calls; keeps the machine stack well under a megabyte.
  static constexpr int kDefaultDepthLimit = 2'000;

  void SetStepLimit(long long limit) { m_stepLimit = limit; }
  void SetDepthLimit(int limit) { m_depthLimit = limit; }
  // True when the last match was abandoned because it exceeded a bound.
  bool IsAborted() const { return m_aborted; }

  // Resets everything for a match over subject[0..subjectLength).
  void Prepare(const CharT* subject, int subjectLength, bool rightToLeft)
  {
    backtrack.Clear();
    captures.Clear();
    captureIndex.Clear();
    text = subject;
    length = subjectLength;
    position = rightToLeft ? subjectLength : 0;
    start = position;
    previousEnd = -1;
    closeCounter = 0;
    m_steps = 0;
    m_depth = 0;
    m_aborted = false;
  }

  // Counts one backtracking step; false once the match has been abandoned.
  bool Step()
  {
    if (++m_steps > m_stepLimit) {
      m_aborted = true;
    }
    return !m_aborted;
  }

  // Enters one nested node call; false (and the match abandoned) past the depth bound.
  bool Enter()
  {
    if (++m_depth > m_depthLimit) {
      m_aborted = true;
    }
    return !m_aborted;
  }
  void Leave() { --m_depth; }

  // A point to come back to: the position and the sizes of both stacks.
  struct SavePoint {
    int position;
    int backtrackSize;
    int captureSize;
  };
  SavePoint Save() const { return SavePoint{position, backtrack.GetSize(), captures.GetSize()}; }

  // After an inner match that is kept but never retried (atomic group, possessive repeat):
  // forgets the inner node's other ways of matching and records how to undo the match.
  void KeepOnlyThisWay(const SavePoint& saved)
  {
    backtrack.Truncate(saved.backtrackSize);
    backtrack.Push(saved.position);
    backtrack.Push(saved.captureSize);
  }
  // Undoes a match kept by KeepOnlyThisWay.
  void UndoKeptWay()
  {
    captures.Truncate(backtrack.Pop());
    position = backtrack.Pop();
  }

  // The offset of the group's latest capture record, or -1.
  int FindLatest(int group) const
  {
    if (group < 0 || group >= captureIndex.GetSize()) {
      return -1;
    }
    int offset = captureIndex[group];
    if (offset >= captures.GetSize()) {
      offset = captures.GetSize() - 1;
    }
    return FindFrom(group, offset);
  }

  // The nearest record of the group at or below `offset`, or -1.
  int FindFrom(int group, int offset) const
  {
    while (offset >= 0 && captures[offset].group != group) {
      --offset;
    }
    return offset;
  }

  // The code of the character at `index`, 0 outside the text.
  int CharAt(int index) const { return index >= 0 && index < length ? CRegexChars<CharT>::Code(text[index]) : 0; }

  CRegexBuffer<int, 32> backtrack;
  CRegexBuffer<CRegexCapture, 8> captures;
  CRegexBuffer<int, 8> captureIndex;
  int position = 0;
  int start = 0;
  int previousEnd = -1;
  int closeCounter = 0;
  const CharT* text = nullptr;
  int length = 0;

 private:
  long long m_steps = 0;
  long long m_stepLimit = kDefaultStepLimit;
  int m_depth = 0;
  int m_depthLimit = kDefaultDepthLimit;
  bool m_aborted = false;
};

// Scope of one nested node call: Match and Backtrack of composite nodes open one.
template <typename CharT>
class CRegexFrame {
 public:
  explicit CRegexFrame(CMatchState<CharT>& state) : m_state(state), m_entered(state.Enter()) {}
  ~CRegexFrame() { m_state.Leave(); }
  CRegexFrame(const CRegexFrame&) = delete;
  CRegexFrame& operator=(const CRegexFrame&) = delete;
  explicit operator bool() const { return m_entered; }

 private:
  CMatchState<CharT>& m_state;
  bool m_entered;
};
