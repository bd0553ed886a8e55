#include "host/classes/strings.h"

#include <algorithm>

#include "host/classes/format.h"
#include "host/classes/filer.h"
#include "host/classes/publish.h"

namespace host {

HOST_DEFINE_CLASS(TStrings, TPersistent)
HOST_DEFINE_CLASS(TStringList, TStrings)

// The lines are stored as a list of strings under "Strings" (Lines.Strings = ('a' 'b')).
void TStrings::DefineProperties(TFiler& filer) {
  filer.DefineProperty(
      "Strings",
      [this](TReader& reader) {
        BeginUpdate();
        try {
          Clear();
          reader.ReadListBegin();
          while (!reader.EndOfList()) Add(reader.ReadString());
          reader.ReadListEnd();
        } catch (...) {
          EndUpdate();
          throw;
        }
        EndUpdate();
      },
      [this](TWriter& writer) {
        writer.WriteListBegin();
        for (int32_t i = 0; i < Count(); ++i) writer.WriteString(Strings(i));
        writer.WriteListEnd();
      },
      Count() > 0);
}


namespace {

const char kSortedError[] = "Operation not allowed on sorted string list";

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

// ---- TStrings ----

void TStrings::IndexError(int32_t index) {
  throw EStringListError(Format("List index out of bounds (%d)", {index}));
}

int32_t TStrings::Add(const std::string& s) {
  const int32_t i = Count();
  Insert(i, s);
  return i;
}

int32_t TStrings::AddObject(const std::string& s, TObject* object) {
  const int32_t i = Add(s);
  PutObject(i, object);
  return i;
}

void TStrings::AddStrings(const TStrings& other) {
  BeginUpdate();
  try {
    for (int32_t i = 0; i < other.Count(); ++i) AddObject(other.Strings(i), other.Objects(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const {
  return AnsiCompareText(a, b);
}

int32_t TStrings::IndexOf(std::string_view s) const {
  for (int32_t i = 0; i < Count(); ++i)
    if (CompareStrings(Strings(i), s) == 0) return i;
  return -1;
}

int32_t TStrings::IndexOfObject(const TObject* object) const {
  for (int32_t i = 0; i < Count(); ++i)
    if (Objects(i) == object) return i;
  return -1;
}

void TStrings::Exchange(int32_t index1, int32_t index2) {
  BeginUpdate();
  const std::string s = Strings(index1);
  TObject* o = Objects(index1);
  Put(index1, Strings(index2));
  PutObject(index1, Objects(index2));
  Put(index2, s);
  PutObject(index2, o);
  EndUpdate();
}

void TStrings::Move(int32_t cur, int32_t dest) {
  if (cur == dest) {
    if (cur < 0 || cur >= Count()) IndexError(cur);
    return;
  }
  BeginUpdate();
  try {
    const std::string s = Strings(cur);
    TObject* o = Objects(cur);
    if (dest < 0 || dest >= Count()) IndexError(dest);
    Delete(cur);
    Insert(dest, s);
    PutObject(dest, o);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int32_t TStrings::IndexOfName(std::string_view name) const {
  for (int32_t i = 0; i < Count(); ++i) {
    const std::string s = Strings(i);
    const size_t eq = s.find('=');
    if (eq != std::string::npos && CompareStrings(std::string_view(s).substr(0, eq), name) == 0)
      return i;
  }
  return -1;
}

std::string TStrings::Names(int32_t index) const {
  const std::string s = Strings(index);
  const size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::ValueFromIndex(int32_t index) const {
  const std::string s = Strings(index);
  const size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(eq + 1);
}

std::string TStrings::Values(std::string_view name) const {
  const int32_t i = IndexOfName(name);
  return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValue(std::string_view name, const std::string& value) {
  const int32_t i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  const std::string item = std::string(name) + "=" + value;
  if (i < 0) {
    Add(item);
  } else if (!KeepsOrder()) {
    Put(i, item);
  } else {
    // A sorted list keeps its order: the item is taken out and added again.
    BeginUpdate();
    try {
      TObject* o = Objects(i);
      Delete(i);
      AddObject(item, o);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  }
}

std::string TStrings::Text() const {
  std::string out;
  for (int32_t i = 0; i < Count(); ++i) out += Strings(i) + "\r\n";
  return out;
}

void TStrings::SetText(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    size_t start = 0;
    while (start < text.size()) {
      size_t end = start;
      while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
      Add(std::string(text.substr(start, end - start)));
      if (end < text.size() && text[end] == '\r') {
        ++end;
        if (end < text.size() && text[end] == '\n') ++end;
      } else if (end < text.size()) {
        ++end;
      }
      start = end;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::DelimitedText() const {
  if (Count() == 1 && Strings(0).empty()) return std::string(2, quote_);
  std::string out;
  for (int32_t i = 0; i < Count(); ++i) {
    const std::string s = Strings(i);
    if (i > 0) out += delimiter_;
    const bool quote = std::any_of(s.begin(), s.end(), [this](char c) {
      return IsBlank(c) || c == delimiter_ || c == quote_;
    });
    if (!quote) {
      out += s;
      continue;
    }
    out += quote_;
    for (char c : s) {
      if (c == quote_) out += quote_;
      out += c;
    }
    out += quote_;
  }
  return out;
}

void TStrings::SetDelimitedText(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    while (i < text.size()) {
      std::string item;
      if (text[i] == quote_) {
        ++i;
        while (i < text.size()) {
          if (text[i] == quote_) {
            if (i + 1 < text.size() && text[i + 1] == quote_) {
              item += quote_;
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          item += text[i++];
        }
      } else {
        while (i < text.size() && !IsBlank(text[i]) && text[i] != delimiter_) item += text[i++];
      }
      Add(item);
      while (i < text.size() && IsBlank(text[i])) ++i;
      if (i < text.size() && text[i] == delimiter_) {
        ++i;
        while (i < text.size() && IsBlank(text[i])) ++i;
        if (i == text.size()) Add("");  // "a," ends with an empty item
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::CommaText() const {
  if (delimiter_ == ',' && quote_ == '"') return DelimitedText();
  TStringList copy;
  copy.AddStrings(*this);
  return copy.DelimitedText();
}

void TStrings::SetCommaText(std::string_view text) {
  const char d = delimiter_, q = quote_;
  delimiter_ = ',';
  quote_ = '"';
  try {
    SetDelimitedText(text);
  } catch (...) {
    delimiter_ = d;
    quote_ = q;
    throw;
  }
  delimiter_ = d;
  quote_ = q;
}

void TStrings::BeginUpdate() {
  if (update_count_ == 0) SetUpdateState(true);
  ++update_count_;
}

void TStrings::EndUpdate() {
  if (update_count_ == 0) return;
  if (--update_count_ == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

void TStrings::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TStrings*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  try {
    Clear();
    delimiter_ = other->delimiter_;
    quote_ = other->quote_;
    AddStrings(*other);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (int32_t i = 0; i < Count(); ++i)
    if (Strings(i) != other.Strings(i)) return false;
  return true;
}

void TStrings::LoadFromStream(TStream& stream) {
  const std::vector<uint8_t> bytes = stream.ReadAll();
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const {
  const std::string text = Text();
  stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TStrings::LoadFromFile(const std::string& path) {
  TFileStream stream(path, fmOpenRead);
  LoadFromStream(stream);
}

void TStrings::SaveToFile(const std::string& path) const {
  TFileStream stream(path, fmCreate);
  SaveToStream(stream);
}

// ---- TStringList ----

void TStringList::Check(int32_t index) const {
  if (index < 0 || index >= Count()) IndexError(index);
}

void TStringList::Changing() {
  if (UpdateCount() == 0) {
    if (OnChanging) OnChanging(this);
  } else if (!pending_) {
    pending_ = true;
    if (OnChanging) OnChanging(this);
  }
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating || !pending_) return;
  pending_ = false;
  if (OnChange) OnChange(this);
}

std::string TStringList::Strings(int32_t index) const {
  Check(index);
  return items_[static_cast<size_t>(index)].text;
}

TObject* TStringList::Objects(int32_t index) const {
  Check(index);
  return items_[static_cast<size_t>(index)].object;
}

void TStringList::Put(int32_t index, const std::string& s) {
  if (sorted_) throw EStringListError(kSortedError);
  Check(index);
  Changing();
  items_[static_cast<size_t>(index)].text = s;
  Changed();
}

void TStringList::PutObject(int32_t index, TObject* object) {
  Check(index);
  Changing();
  items_[static_cast<size_t>(index)].object = object;
  Changed();
}

void TStringList::InsertItem(int32_t index, const std::string& s) {
  Changing();
  items_.insert(items_.begin() + index, Item{s, nullptr});
  Changed();
}

void TStringList::Insert(int32_t index, const std::string& s) {
  if (sorted_) throw EStringListError(kSortedError);
  if (index < 0 || index > Count()) IndexError(index);
  InsertItem(index, s);
}

int32_t TStringList::Add(const std::string& s) {
  if (!sorted_) {
    InsertItem(Count(), s);
    return Count() - 1;
  }
  int32_t index;
  if (Find(s, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) throw EStringListError("String list does not allow duplicates");
  }
  InsertItem(index, s);
  return index;
}

void TStringList::Delete(int32_t index) {
  Check(index);
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  Changed();
}

void TStringList::Exchange(int32_t index1, int32_t index2) {
  if (sorted_) throw EStringListError(kSortedError);
  Check(index1);
  Check(index2);
  Changing();
  std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
  Changed();
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
  if (!case_sensitive_) return AnsiCompareText(a, b);
  const int r = a.compare(b);
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

int32_t TStringList::IndexOf(std::string_view s) const {
  if (!sorted_) return TStrings::IndexOf(s);
  int32_t index;
  return Find(s, index) ? index : -1;
}

bool TStringList::Find(std::string_view s, int32_t& index) const {
  if (!sorted_) {
    index = TStrings::IndexOf(s);
    if (index >= 0) return true;
    index = Count();
    return false;
  }
  // The first of equal items, so that Add with dupAccept puts a new one before them.
  int32_t lo = 0, hi = Count();
  while (lo < hi) {
    const int32_t mid = lo + (hi - lo) / 2;
    if (CompareStrings(items_[static_cast<size_t>(mid)].text, s) < 0) lo = mid + 1;
    else hi = mid;
  }
  index = lo;
  return lo < Count() && CompareStrings(items_[static_cast<size_t>(lo)].text, s) == 0;
}

void TStringList::Sort() {
  if (items_.size() < 2) return;
  Changing();
  std::stable_sort(items_.begin(), items_.end(), [this](const Item& a, const Item& b) {
    return CompareStrings(a.text, b.text) < 0;
  });
  Changed();
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  if (sorted) Sort();
  sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool on) {
  if (on == case_sensitive_) return;
  case_sensitive_ = on;
  if (sorted_) Sort();
}

}  // namespace host
