// Reading and writing components as form text (host/classes/form_text.h shows the syntax).
//
// Reading follows the load sequence components rely on: every component is created by its
// class's virtual constructor under its owner and parent, marked csLoading and csReading,
// and given its properties (names no published property claims go to DefineProperties);
// once the whole form is read, component references are resolved by name, events are bound
// to the root's handler methods, the root's fields receive their components, csReading is
// cleared, and Loaded runs for every component in creation order. A form that fails to read
// leaves nothing behind: the components created so far are freed and the error names the
// source, line and property.
//
// Writing stores, per component, the published properties whose stored rule says so (values
// equal to their declared defaults are left out), then DefineProperties data, then the
// children that GetChildren passes, so that read -> write -> read gives the same components.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/classes/form_text.h"

namespace host {

class TObject;
class TPersistent;
class TComponent;
class TStream;
class TReader;
class TWriter;
class PropInfo;

class TFiler {
 public:
  using ReaderProc = std::function<void(TReader&)>;
  using WriterProc = std::function<void(TWriter&)>;
  using StreamProc = std::function<void(TStream&)>;

  virtual ~TFiler() = default;
  TComponent* Root() const { return root_; }

  // Declares a stored value no published property describes: read gets a TReader positioned
  // on it (and must read it all, or SkipValue), write writes exactly one value. has_data says
  // whether this object has anything to write. Either procedure may be empty: a legacy
  // property that is read and dropped has no writer.
  virtual void DefineProperty(const std::string& name, const ReaderProc& read, const WriterProc& write,
                              bool has_data) = 0;
  // As DefineProperty for raw bytes: read gets a memory stream holding them at position 0,
  // write writes them to the stream it is given.
  virtual void DefineBinaryProperty(const std::string& name, const StreamProc& read, const StreamProc& write,
                                    bool has_data) = 0;

 protected:
  TComponent* root_ = nullptr;
};

class TReader : public TFiler {
 public:
  // form must outlive the reader; source names it in messages ("main.form").
  TReader(const formtext::Object& form, std::string source);
  ~TReader() override;

  // Reads the form into root, an existing component of the form's class (or a descendant).
  void ReadRootComponent(TComponent* root);
  // Reads the properties and child objects of the block now being read into instance;
  // TComponent::ReadState calls it, overrides call it through the inherited ReadState.
  void ReadData(TComponent* instance);
  // The component whose block holds the one being read (children get it as parent), and
  // the owner of components read here.
  TComponent* Parent() const { return parent_; }
  TComponent* Owner() const { return owner_; }
  const std::string& Source() const { return source_; }

  // Values, for DefineProperty readers. A value of the wrong kind raises EReadError.
  int64_t ReadInteger();
  bool ReadBoolean();
  char ReadChar();
  double ReadFloat();
  std::string ReadString();
  std::string ReadIdent();
  std::vector<uint8_t> ReadBinary();  // binary data or a file reference
  void ReadListBegin();
  bool EndOfList() const;
  void ReadListEnd();
  void SkipValue();

  void DefineProperty(const std::string& name, const ReaderProc& read, const WriterProc& write,
                      bool has_data) override;
  void DefineBinaryProperty(const std::string& name, const StreamProc& read, const StreamProc& write,
                            bool has_data) override;

 private:
  struct Pending;
  void ReadChild(TComponent* parent, const formtext::Object& block);
  void ReadProperty(TComponent* component, const formtext::Property& prop);
  void SetValue(TComponent* component, TObject* target, const PropInfo& info, const formtext::Property& prop);
  bool ReadDefined(TPersistent* target, const std::string& name, const formtext::Value& value);
  const formtext::Value& NextValue(const char* expected);
  void Finish();
  void Rollback();

  const formtext::Object& form_;
  std::string source_;
  const formtext::Object* block_ = nullptr;
  TComponent* parent_ = nullptr;
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> loaded_;
  std::vector<Pending> pending_;
  // The value a DefineProperty reader is reading.
  std::string wanted_;
  bool found_ = false;
  const formtext::Value* value_ = nullptr;
  bool value_taken_ = false;
  std::vector<std::pair<const formtext::Value*, size_t>> lists_;
};

class TWriter : public TFiler {
 public:
  explicit TWriter(TComponent* root);

  formtext::Object WriteRootComponent();
  // Writes the properties and children of instance into the block now being written;
  // TComponent::WriteState calls it.
  void WriteData(TComponent* instance);

  // Values, for DefineProperty writers.
  void WriteInteger(int64_t value);
  void WriteBoolean(bool value);
  void WriteChar(char value);
  void WriteFloat(double value);
  void WriteString(const std::string& value);
  void WriteIdent(const std::string& value);
  void WriteBinary(std::vector<uint8_t> bytes);
  void WriteListBegin();
  void WriteListEnd();

  void DefineProperty(const std::string& name, const ReaderProc& read, const WriterProc& write,
                      bool has_data) override;
  void DefineBinaryProperty(const std::string& name, const StreamProc& read, const StreamProc& write,
                            bool has_data) override;

 private:
  formtext::Object WriteComponent(TComponent* component);
  void WriteProperties(TComponent* component, TObject* object, const std::string& prefix, int depth);
  void Put(formtext::Value value);
  formtext::Value TakeValue(const std::string& name);

  formtext::Object* block_ = nullptr;
  std::string prefix_;
  std::vector<formtext::Value> values_;  // values written so far; lists are being built
  int open_lists_ = 0;
};

// Reads form text into root (see TReader::ReadRootComponent).
void ReadComponentFromText(TComponent* root, std::string_view text, const std::string& source);
// Reads the embedded form resource name into root; EReadError when there is none.
void ReadComponentResource(TComponent* root, std::string_view name);
// Creates the form text's root component from its registered class under owner and reads it.
TComponent* CreateComponentFromText(std::string_view text, const std::string& source, TComponent* owner);
// The form text of root and what it stores.
std::string WriteComponentToText(TComponent* root);

}  // namespace host
