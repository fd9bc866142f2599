// A recursive-descent reader over UTF-16 text. After an error inside an array or object it
// skips to the next closing token of that kind, so one parse yields one list of errors.
#include "json/reader.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "containers.h"
#include "tree_pool.h"
#include "text/widechar.h"

namespace Json {

namespace {

// Room that the lists of a nesting level get at once: a reply's objects and short arrays fit.
constexpr size_t kListRoom = 16;

}  // namespace

// The members of an object being read, in the order met, with their positions in name order
// beside them. A long object finds its names through an index instead, so that it costs
// n log n.
struct Reader::MemberList {
  static constexpr size_t indexedFrom = 1024;
  static constexpr size_t countedUpTo = 32;  // members whose place is counted, not searched for

  friend void reserveRoom(MemberList& list)
  {
    list.entries.reserve(kListRoom);
    list.order.reserve(kListRoom);
    list.positions.reserve(kListRoom);
  }

  // A member's place in name order. Most names differ in their first units, which are kept
  // here so that a search seldom has to look at the names themselves.
  struct Ordered {
    uint64_t prefix;
    uint32_t position;
  };

  std::vector<Member> entries;
  std::vector<Ordered> order;
  std::map<std::u16string_view, uint32_t> index;
  std::vector<uint32_t> positions;  // in name order, when the object ends

  // The last object read at this level, when the names of its members all lie in the pool's
  // chunk `chunk`: the names in the order met, their lengths, and their positions in name
  // order. An object that names its members alike and in the same order, while that chunk is
  // still the present one, shares those names and takes that order without a search.
  struct Shape {
    std::vector<const WCHAR*> names;
    std::vector<uint32_t> lengths;
    std::vector<uint32_t> positions;
    uint64_t chunk = 0;
  } shape;
  bool following = false;  // every member so far is named as the shape's member in its place
};

// The entries of the arrays and objects being read, a list for each nesting level: an array or
// object takes its entries in one piece when it ends.
struct Reader::Lists {
  std::deque<std::vector<Element>> elements;
  std::deque<MemberList> members;
  TreePool pool;
};

namespace {

void reserveRoom(std::vector<Element>& elements)
{
  elements.reserve(kListRoom);
}

// The list kept for a nesting level, made with room when the level is first reached.
template <class List>
List& listAt(std::deque<List>& lists, int depth)
{
  while (lists.size() <= static_cast<size_t>(depth)) {
    reserveRoom(lists.emplace_back());
  }
  return lists[static_cast<size_t>(depth)];
}

// The first four code units of a name (length units, the name ending at its first NUL) as one
// number that orders as the names do.
uint64_t namePrefix(const WCHAR* name, size_t length)
{
  WCHAR units[4] = {};
  std::memcpy(units, name, std::min<size_t>(length, 4) * sizeof(WCHAR));
  uint64_t prefix = 0;
  bool ended = false;
  for (WCHAR unit : units) {
    ended = ended || unit == 0;
    prefix = prefix << 16 | (ended ? 0u : unit);
  }
  return prefix;
}

// Adds an entry at the end of `entries`; `remembered`, if it lies among them, follows it.
template <class List, class... Args>
auto& addEntry(List& entries, Value*& remembered, Args&&... args)
{
  size_t position = remembered != nullptr ? positionIn(entries, remembered) : entries.size();
  entries.emplace_back(std::forward<Args>(args)...);
  if (position < entries.size() - 1) {
    remembered = &entries[position].value;
  }
  return entries.back();
}

}  // namespace

Reader::Reader() : lists_(std::make_unique<Lists>()) {}

Reader::~Reader() = default;

bool Reader::parse(const std::u16string& document, Value& root, bool collectComments)
{
  document_ = document;
  return parse(document_.data(), document_.data() + document_.size(), root, collectComments);
}

bool Reader::parse(const WCHAR* begin, const WCHAR* end, Value& root, bool collectComments)
{
  collectComments_ = collectComments;
  begin_ = begin;
  end_ = end;
  current_ = begin;
  lastValueEnd_ = nullptr;
  lastValue_ = nullptr;
  commentsBefore_.clear();
  errors_.clear();
  nodes_.clear();
  for (auto& elements : lists_->elements) {
    elements.clear();  // left over when memory ran out
  }
  for (auto& members : lists_->members) {
    members.entries.clear();
    members.order.clear();
    members.index.clear();
  }
  root = Value();
  nodes_.reserve(kListRoom);
  memberName_.reserve(kListRoom * 2);
  nodes_.push_back(&root);
  // The tree's texts and containers are cut from the pool; its chunks belong to the tree alone
  // once the parse is over, however it ends.
  struct PoolInUse {
    Reader& reader;
    ~PoolInUse()
    {
      reader.lists_->pool.finish();
      reader.pool_ = nullptr;
    }
  } poolInUse{*this};
  pool_ = defaultAllocatorInUse() ? &lists_->pool : nullptr;

  bool successful = readValue(0);
  Token token;
  readTokenSkippingComments(token);  // whatever follows the root is ignored
  if (collectComments_ && !commentsBefore_.empty()) {
    root.setComment(commentsBefore_, commentAfter);
  }
  nodes_.clear();
  lastValue_ = nullptr;
  return successful;
}

bool Reader::readValue(int depth)
{
  // A string or number right at the reader's position is read without the general token scan;
  // a number's extent is found as it is decoded.
  Token token;
  const WCHAR first = current_ != end_ ? *current_ : 0;
  if (first == u'"') {
    readStringToken(token);
  } else if ((first >= u'0' && first <= u'9') || first == u'-') {
    // The token's end is set as the number is decoded.
    token.type = tokenNumber;
    token.start = current_;
    token.escaped = false;
  } else {
    readTokenSkippingComments(token);
  }
  if (collectComments_) {
    if (!commentsBefore_.empty()) {
      currentValue().setComment(commentsBefore_, commentBefore);
      commentsBefore_.clear();
    }
    // A member named twice is read again in place: forget a last value that may lie inside
    // the old content, which is about to go.
    if (!currentValue().isNull()) {
      lastValue_ = nullptr;
      lastValueEnd_ = nullptr;
    }
  }

  bool successful = true;
  switch (token.type) {
    case tokenObjectBegin:
    case tokenArrayBegin:
      if (depth >= maxNestingDepth) {
        successful = addError(u"Syntax error: arrays and objects nested too deeply.", token);
      } else if (token.type == tokenObjectBegin) {
        successful = readObject(token, depth);
      } else {
        successful = readArray(token, depth);
      }
      break;
    case tokenNumber:
      successful = decodeNumber(token);
      break;
    case tokenString:
      successful = decodeStringValue(token);
      break;
    case tokenTrue:
      setCurrent(true);
      break;
    case tokenFalse:
      setCurrent(false);
      break;
    case tokenNull:
      currentValue() = Value();
      break;
    default:
      successful = addError(u"Syntax error: value, object or array expected.", token);
      break;
  }

  if (collectComments_) {
    lastValueEnd_ = current_;
    lastValue_ = &currentValue();
  }
  return successful;
}

bool Reader::readObject(const Token&, int depth)
{
  Value& object = currentValue();
  object = Value();  // the old content goes; the object is made when its members are known
  MemberList& list = listAt(lists_->members, depth);
  list.following = pool_ != nullptr && !list.shape.names.empty() && list.shape.chunk == pool_->presentChunk();
  bool successful = readMembers(list, depth);
  // However the object ended, it keeps what was read, in name order. The reader forgets the
  // places of its members now; readValue remembers the object itself next.
  const size_t count = list.entries.size();
  const std::vector<uint32_t>* positions = &list.positions;
  if (list.following && count == list.shape.names.size()) {
    positions = &list.shape.positions;
  } else {
    if (list.following) {
      leaveShape(list);
    }
    list.positions.clear();
    if (!list.index.empty()) {
      for (const auto& named : list.index) {
        list.positions.push_back(named.second);
      }
      list.index.clear();
    } else {
      for (const MemberList::Ordered& ordered : list.order) {
        list.positions.push_back(ordered.position);
      }
    }
    rememberShape(list);
  }
  list.following = false;
  ObjectValues* members = pool_ != nullptr ? ObjectValues::CreateIn(*pool_, count) : ObjectValues::Create(count);
  members->adopt(list.entries, *positions);
  object.value_.object_ = members;
  object.type_ = objectValue;
  list.order.clear();
  return successful;
}

// Only an object whose names all lie in the present chunk leaves its shape behind.
void Reader::rememberShape(MemberList& list)
{
  MemberList::Shape& shape = list.shape;
  shape.names.clear();
  shape.lengths.clear();
  if (pool_ == nullptr) {
    return;
  }
  for (const Member& member : list.entries) {
    if (!pool_->inPresentChunk(member.key.name())) {
      shape.names.clear();
      shape.lengths.clear();
      return;
    }
    shape.names.push_back(member.key.name());
    shape.lengths.push_back(static_cast<uint32_t>(std::char_traits<WCHAR>::length(member.key.name())));
  }
  shape.positions = list.positions;
  shape.chunk = pool_->presentChunk();
}

// The members read so far follow the shape: their order is the shape's without the others.
void Reader::leaveShape(MemberList& list)
{
  list.following = false;
  const MemberList::Shape& shape = list.shape;
  const size_t read = list.entries.size();
  list.order.clear();
  for (uint32_t position : shape.positions) {
    if (position < read) {
      list.order.push_back(MemberList::Ordered{namePrefix(shape.names[position], shape.lengths[position]), position});
    }
  }
}

const WCHAR* Reader::shapeName(const MemberList& list, const Token& token) const
{
  const MemberList::Shape& shape = list.shape;
  const size_t at = list.entries.size();
  if (token.escaped || at >= shape.names.size() || pool_->presentChunk() != shape.chunk) {
    return nullptr;
  }
  const WCHAR* raw = token.start + 1;
  const auto length = static_cast<size_t>(token.end - 1 - raw);
  const WCHAR* name = shape.names[at];
  if (length != shape.lengths[at] || !std::equal(raw, raw + length, name)) {
    return nullptr;
  }
  return name;
}

// Nothing is cut from the pool between finding the name and this, so its chunk is present.
Value& Reader::sharedMember(MemberList& list, const WCHAR* name)
{
  pool_->share();
  return addEntry(list.entries, lastValue_, MemberKey(name, MemberKey::Pooled())).value;
}

bool Reader::readMembers(MemberList& list, int depth)
{
  bool lastNameEmpty = true;
  Token tokenName;
  while (true) {
    if (current_ != end_ && *current_ == u'"') {
      readStringToken(tokenName);
    } else {
      readTokenSkippingComments(tokenName);
    }
    if (tokenName.type == tokenObjectEnd && lastNameEmpty) {
      return true;
    }
    if (tokenName.type != tokenString) {
      break;
    }
    // A member named as the shape's in its place shares that name; any other is decoded.
    const WCHAR* shared = list.following ? shapeName(list, tokenName) : nullptr;
    MemberKey name(0);
    size_t length = static_cast<size_t>(tokenName.end - tokenName.start) - 2;
    if (shared == nullptr && !decodeName(tokenName, name, length)) {
      return recoverFromError(tokenObjectEnd);
    }
    lastNameEmpty = length == 0;

    if (!take(u':')) {
      Token colon;
      readToken(colon);
      if (colon.type != tokenMemberSeparator) {
        return addErrorAndRecover(u"Missing ':' after object member name", colon, tokenObjectEnd);
      }
    }
    // A repeated name is read again into the member it named before.
    nodes_.push_back(shared != nullptr ? &sharedMember(list, shared) : &memberNamed(list, name, length));
    bool ok = readValue(depth + 1);
    nodes_.pop_back();
    if (!ok) {
      return recoverFromError(tokenObjectEnd);
    }

    if (take(u',')) {
      continue;
    }
    Token comma;
    readTokenSkippingComments(comma);
    if (comma.type == tokenObjectEnd) {
      return true;
    }
    if (comma.type != tokenArraySeparator) {
      return addErrorAndRecover(u"Missing ',' or '}' in object declaration", comma, tokenObjectEnd);
    }
  }
  return addErrorAndRecover(u"Missing '}' or object member name", tokenName, tokenObjectEnd);
}

Value& Reader::memberNamed(MemberList& list, MemberKey& key, size_t length)
{
  if (list.following) {
    leaveShape(list);
  }
  const WCHAR* name = key.name();
  std::vector<Member>& entries = list.entries;
  const auto position = static_cast<uint32_t>(entries.size());
  const uint64_t prefix = namePrefix(name, length);
  const bool indexed = !list.index.empty() || entries.size() >= MemberList::indexedFrom;
  auto at = list.order.end();
  if (!indexed && list.order.size() <= MemberList::countedUpTo) {
    // Counted without a branch per member, then past the names of the same prefix that order
    // before this one.
    size_t before = 0;
    for (const MemberList::Ordered& ordered : list.order) {
      before += ordered.prefix < prefix ? 1 : 0;
    }
    for (at = list.order.begin() + static_cast<ptrdiff_t>(before); at != list.order.end() && at->prefix == prefix; ++at) {
      const int order = compareNames(entries[at->position].key.name(), name);
      if (order == 0) {
        return entries[at->position].value;
      }
      if (order > 0) {
        break;
      }
    }
  } else if (!indexed) {
    auto before = [&entries](const MemberList::Ordered& ordered, const std::pair<uint64_t, const WCHAR*>& key) {
      return ordered.prefix != key.first ? ordered.prefix < key.first
                                         : compareNames(entries[ordered.position].key.name(), key.second) < 0;
    };
    at = std::lower_bound(list.order.begin(), list.order.end(), std::make_pair(prefix, name), before);
    if (at != list.order.end() && at->prefix == prefix && compareNames(entries[at->position].key.name(), name) == 0) {
      return entries[at->position].value;
    }
  } else {
    if (list.index.empty()) {
      for (const MemberList::Ordered& ordered : list.order) {
        list.index.emplace(entries[ordered.position].key.name(), ordered.position);
      }
    }
    auto found = list.index.find(name);
    if (found != list.index.end()) {
      return entries[found->second].value;
    }
  }
  Member& added =
      addEntry(entries, lastValue_, key.isShared() ? MemberKey(name, MemberKey::keyOwned) : std::move(key));
  if (indexed) {
    list.index.emplace(added.key.name(), position);
  } else {
    list.order.insert(at, MemberList::Ordered{prefix, position});
  }
  return added.value;
}

// With a pool the name is decoded into the piece that the key keeps; without one, into the
// reader's buffer, which the key shares until a member takes its own copy.
bool Reader::decodeName(const Token& token, MemberKey& key, size_t& length)
{
  if (pool_ == nullptr) {
    if (!decodeString(token, memberName_)) {
      return false;
    }
    key = MemberKey(memberName_.c_str(), MemberKey::keyShared);
    length = memberName_.size();
    return true;
  }
  WCHAR* name = decodedCopy(token, length);
  if (name == nullptr) {
    return false;
  }
  key = MemberKey(name, MemberKey::Pooled());
  return true;
}

WCHAR* Reader::decodedCopy(const Token& token, size_t& length)
{
  const WCHAR* raw = token.start + 1;
  length = static_cast<size_t>(token.end - 1 - raw);
  WCHAR* text = copyText(raw, length);
  if (token.escaped) {
    // Unescaping never lengthens the text, so the raw copy is decoded in place.
    if (!decodeEscapes(token, text, length)) {
      if (pool_ != nullptr) {
        TreePool::release(text);
      } else {
        valueAllocator()->releaseStringValue(text);
      }
      return nullptr;
    }
    text[length] = 0;
  }
  return text;
}

WCHAR* Reader::copyText(const WCHAR* text, size_t length)
{
  if (pool_ == nullptr) {
    return valueAllocator()->duplicateStringValue(text, length);
  }
  auto* copy = static_cast<WCHAR*>(pool_->allocate((length + 1) * sizeof(WCHAR)));
  std::memcpy(copy, text, length * sizeof(WCHAR));
  copy[length] = 0;
  return copy;
}

bool Reader::readArray(const Token&, int depth)
{
  Value& array = currentValue();
  array = Value();  // the old content goes; the array is made when its elements are known
  std::vector<Element>& listed = listAt(lists_->elements, depth);
  skipSpaces();
  bool successful = true;
  if (current_ != end_ && *current_ == u']') {
    Token endArray;
    readToken(endArray);
  } else {
    successful = readElements(listed, array, depth);
  }
  if (array.type_ != arrayValue) {
    const size_t count = listed.size();
    ArrayValues* elements = pool_ != nullptr ? ArrayValues::CreateIn(*pool_, count) : ArrayValues::Create(count);
    elements->adopt(listed);
    array.value_.array_ = elements;
    array.type_ = arrayValue;
  }
  return successful;
}

// A short array is listed first and made with its elements in one piece at its end; a long one
// is made with what was listed so far and grows in place from then on.
bool Reader::readElements(std::vector<Element>& listed, Value& array, int depth)
{
  constexpr size_t listedAtMost = 64;
  for (;;) {
    if (listed.size() == listedAtMost) {
      size_t remembered = lastValue_ != nullptr ? positionIn(listed, lastValue_) : listedAtMost;
      constexpr size_t room = listedAtMost * 4;
      ArrayValues* elements = pool_ != nullptr ? ArrayValues::CreateIn(*pool_, room) : ArrayValues::Create(room);
      elements->adopt(listed);
      array.value_.array_ = elements;
      array.type_ = arrayValue;
      if (remembered < listedAtMost) {
        lastValue_ = &elements->valueAt(remembered);
      }
      break;
    }
    const int next = readElement(listed, depth);
    if (next <= 0) {
      return next == 0;
    }
  }
  EntryList<Element>& elements = array.value_.array_->denseElements();
  for (;;) {
    const int next = readElement(elements, depth);
    if (next <= 0) {
      return next == 0;
    }
  }
}

// Reads one element and what follows it: 1 after a comma, 0 at the end of the array, -1 after
// an error (recovered from).
template <class List>
int Reader::readElement(List& elements, int depth)
{
  nodes_.push_back(&addEntry(elements, lastValue_).value);
  bool ok = readValue(depth + 1);
  nodes_.pop_back();
  if (!ok) {
    recoverFromError(tokenArrayEnd);
    return -1;
  }
  if (take(u',')) {
    return 1;
  }
  Token token;
  readTokenSkippingComments(token);
  if (token.type == tokenArrayEnd) {
    return 0;
  }
  if (token.type != tokenArraySeparator) {
    addErrorAndRecover(u"Missing ',' or ']' in array declaration", token, tokenArrayEnd);
    return -1;
  }
  return 1;
}

void Reader::readToken(Token& token)
{
  const WCHAR* p = current_;
  while (p != end_ && (*p == u' ' || *p == u'\t' || *p == u'\r' || *p == u'\n')) {
    ++p;
  }
  token.start = p;
  token.escaped = false;
  if (p == end_) {
    current_ = p;
    token.type = tokenEndOfStream;
    token.end = p;
    return;
  }
  current_ = p + 1;
  bool ok = true;
  switch (*p) {
    case 0: token.type = tokenEndOfStream; break;
    case u'{': token.type = tokenObjectBegin; break;
    case u'}': token.type = tokenObjectEnd; break;
    case u'[': token.type = tokenArrayBegin; break;
    case u']': token.type = tokenArrayEnd; break;
    case u',': token.type = tokenArraySeparator; break;
    case u':': token.type = tokenMemberSeparator; break;
    case u'"':
      current_ = p;
      readStringToken(token);
      return;
    case u'/':
      token.type = tokenComment;
      ok = readComment();
      break;
    case u'-':
    case u'0': case u'1': case u'2': case u'3': case u'4':
    case u'5': case u'6': case u'7': case u'8': case u'9':
      token.type = tokenNumber;
      current_ = numberEnd(current_);
      break;
    case u't':
      token.type = tokenTrue;
      ok = match(u"rue", 3);
      break;
    case u'f':
      token.type = tokenFalse;
      ok = match(u"alse", 4);
      break;
    case u'n':
      token.type = tokenNull;
      ok = match(u"ull", 3);
      break;
    default:
      ok = false;
      break;
  }
  if (!ok) {
    token.type = tokenError;
  }
  token.end = current_;
}

void Reader::readStringToken(Token& token)
{
  token.start = current_++;
  token.escaped = false;
  token.type = readString(token.escaped) ? tokenString : tokenError;
  token.end = current_;
}

void Reader::skipSpaces()
{
  while (current_ != end_) {
    WCHAR c = *current_;
    if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n') {
      break;
    }
    ++current_;
  }
}

bool Reader::match(const WCHAR* pattern, int length)
{
  if (end_ - current_ < length) {
    return false;
  }
  for (int i = 0; i < length; ++i) {
    if (current_[i] != pattern[i]) {
      return false;
    }
  }
  current_ += length;
  return true;
}

namespace {

// The offset of the first quote or backslash among the eight units at `p`, or 8 when none is.
size_t firstQuoteOrBackslash(const WCHAR* p)
{
#if defined(__SSE2__)
  const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i found = _mm_or_si128(_mm_cmpeq_epi16(units, _mm_set1_epi16(u'"')),
                                     _mm_cmpeq_epi16(units, _mm_set1_epi16(u'\\')));
  const auto mask = static_cast<unsigned>(_mm_movemask_epi8(found));
  return mask == 0 ? 8 : static_cast<size_t>(__builtin_ctz(mask)) / 2;
#else
  for (size_t i = 0; i < 8; ++i) {
    if (p[i] == u'"' || p[i] == u'\\') {
      return i;
    }
  }
  return 8;
#endif
}

}  // namespace

// Runs past the closing quote; a backslash takes the next character whatever it is.
bool Reader::readString(bool& escaped)
{
  const WCHAR* p = current_;
  for (;;) {
    // Eight units at a time while they last, to the next quote or backslash.
    while (end_ - p >= 8) {
      const size_t offset = firstQuoteOrBackslash(p);
      p += offset;
      if (offset != 8) {
        break;
      }
    }
    if (p == end_) {
      break;
    }
    const WCHAR c = *p++;
    if (c == u'"') {
      current_ = p;
      return true;
    }
    if (c == u'\\') {
      escaped = true;
      if (p != end_) {
        ++p;
      }
    }
  }
  current_ = end_;
  return false;
}

const WCHAR* Reader::numberEnd(const WCHAR* p) const
{
  while (p != end_ && ((*p >= u'0' && *p <= u'9') || *p == u'.' || *p == u'e' || *p == u'E' || *p == u'+' || *p == u'-')) {
    ++p;
  }
  return p;
}

}  // namespace Json
