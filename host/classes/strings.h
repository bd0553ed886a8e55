// TStrings, the abstract list of strings with attached objects, and TStringList.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/classes/classes.h"
#include "host/classes/enuminfo.h"

namespace host {

class TStrings : public TPersistent {
 public:
  HOST_CLASS(TStrings)

  virtual int32_t Count() const = 0;
  // Index errors raise EStringListError "List index out of bounds (i)".
  virtual std::string Strings(int32_t index) const = 0;
  virtual void Put(int32_t index, const std::string& s) = 0;
  virtual TObject* Objects(int32_t index) const = 0;
  virtual void PutObject(int32_t index, TObject* object) = 0;
  virtual void Insert(int32_t index, const std::string& s) = 0;
  virtual void Delete(int32_t index) = 0;
  virtual void Clear() = 0;

  virtual int32_t Add(const std::string& s);
  int32_t AddObject(const std::string& s, TObject* object);
  void AddStrings(const TStrings& other);
  virtual int32_t IndexOf(std::string_view s) const;
  int32_t IndexOfObject(const TObject* object) const;
  virtual void Exchange(int32_t index1, int32_t index2);
  void Move(int32_t cur, int32_t dest);

  // "name=value" items. Names(i) is the part before the first '=' ("" when there is none).
  int32_t IndexOfName(std::string_view name) const;
  std::string Names(int32_t index) const;
  std::string Values(std::string_view name) const;
  std::string ValueFromIndex(int32_t index) const;
  // Replaces or appends "name=value"; an empty value deletes the item.
  void SetValue(std::string_view name, const std::string& value);

  // Every item followed by CRLF. SetText splits at CR, LF or CRLF; a last line without a
  // line end counts, an empty text gives an empty list.
  std::string Text() const;
  void SetText(std::string_view text);
  // Items joined by Delimiter; an item holding a blank, the delimiter or the quote character
  // is put in quotes with inner quotes doubled. Reading splits at the delimiter and at blanks
  // outside quotes.
  std::string DelimitedText() const;
  void SetDelimitedText(std::string_view text);
  std::string CommaText() const;
  void SetCommaText(std::string_view text);
  char Delimiter() const { return delimiter_; }
  void SetDelimiter(char c) { delimiter_ = c; }
  char QuoteChar() const { return quote_; }
  void SetQuoteChar(char c) { quote_ = c; }

  // Nested; the list reports its changes once when the outermost update ends.
  void BeginUpdate();
  void EndUpdate();
  int32_t UpdateCount() const { return update_count_; }

  void Assign(const TPersistent* source) override;
  void DefineProperties(TFiler& filer) override;
  bool Equals(const TStrings& other) const;

  // Reads the rest of the stream as UTF-8 text (a byte-order mark is skipped).
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;

  // Compares two items the way IndexOf and sorting do.
  virtual int CompareStrings(std::string_view a, std::string_view b) const;

 protected:
  virtual void SetUpdateState(bool updating);
  // True when the list orders its items itself (Put and Insert are refused then).
  virtual bool KeepsOrder() const { return false; }
  [[noreturn]] static void IndexError(int32_t index);

 private:
  char delimiter_ = ',';
  char quote_ = '"';
  int32_t update_count_ = 0;
};

HOST_ENUM(TDuplicates, uint8_t, dupIgnore, dupAccept, dupError)

class TStringList : public TStrings {
 public:
  HOST_CLASS(TStringList)

  int32_t Count() const override { return static_cast<int32_t>(items_.size()); }
  std::string Strings(int32_t index) const override;
  // Raises EStringListError on a sorted list: the new text could break the order.
  void Put(int32_t index, const std::string& s) override;
  TObject* Objects(int32_t index) const override;
  void PutObject(int32_t index, TObject* object) override;
  // Raises EStringListError "Operation not allowed on sorted string list" when sorted.
  void Insert(int32_t index, const std::string& s) override;
  void Delete(int32_t index) override;
  void Clear() override;
  // On a sorted list the item goes to its place, as Duplicates says.
  int32_t Add(const std::string& s) override;
  int32_t IndexOf(std::string_view s) const override;
  // Same rule as Insert on a sorted list.
  void Exchange(int32_t index1, int32_t index2) override;
  int CompareStrings(std::string_view a, std::string_view b) const override;

  // Binary search of a sorted list (a linear one otherwise): true when s is there, index
  // is the first match or where s would go.
  bool Find(std::string_view s, int32_t& index) const;
  void Sort();

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  // Consulted only by sorted lists; dupError raises "String list does not allow duplicates".
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates d) { duplicates_ = d; }
  // False unless set: comparisons then ignore case.
  bool CaseSensitive() const { return case_sensitive_; }
  void SetCaseSensitive(bool on);

  // OnChanging fires before the first change, OnChange after it; inside BeginUpdate and
  // EndUpdate each fires once at most, OnChange when the outermost update ends.
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool updating) override;
  bool KeepsOrder() const override { return sorted_; }

 private:
  struct Item {
    std::string text;
    TObject* object = nullptr;
  };
  void Changing();
  void Changed();
  void InsertItem(int32_t index, const std::string& s);
  void Check(int32_t index) const;

  std::vector<Item> items_;
  bool sorted_ = false;
  bool case_sensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
  bool pending_ = false;  // a change made inside an update, not yet reported
};

}  // namespace host
