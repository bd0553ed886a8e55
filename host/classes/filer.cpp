#include "host/classes/filer.h"

#include <cmath>
#include <limits>

#include "host/classes/classes.h"
#include "host/classes/component.h"
#include "host/classes/enuminfo.h"
#include "host/classes/format.h"
#include "host/classes/resources.h"
#include "host/classes/sysutils.h"
#include "host/classes/typinfo.h"
#include "host/graphics/color.h"

namespace host {

using formtext::Value;
using formtext::ValueKind;

namespace {

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t dot = path.find('.', start);
    parts.push_back(path.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
    if (dot == std::string::npos) return parts;
    start = dot + 1;
  }
}

[[noreturn]] void Fail(const std::string& message) { throw EReadError(message); }

std::string Found(const Value& v) { return formtext::Describe(v.kind); }

}  // namespace

// ---- TReader ----------------------------------------------------------------------------

struct TReader::Pending {
  TComponent* component;  // whose block named it (events are recorded there)
  TObject* target;        // the object the property belongs to
  const PropInfo* info;
  std::string path;  // as written, for messages and event names
  std::string name;  // the component or handler named
  int line;
};

TReader::TReader(const formtext::Object& form, std::string source) : form_(form), source_(std::move(source)) {}

TReader::~TReader() = default;

void TReader::ReadRootComponent(TComponent* root) {
  root_ = root;
  TClass declared = nullptr;
  for (TClass c = root->ClassType(); c; c = c->Parent()) {
    if (SameText(c->Name(), form_.class_name)) declared = c;
  }
  if (!declared) {
    Fail(Format("%s(%d): The form is stored for %s, not for %s",
                {source_, form_.line, form_.class_name, std::string(root->ClassName())}));
  }
  root->SetStateFlags({csLoading, csReading});
  loaded_ = {root};
  try {
    if (root->Name().empty() && !form_.name.empty()) {
      std::string name = form_.name;
      for (int i = 1; root->Owner() && root->Owner()->FindComponent(name); ++i) name = form_.name + "_" + IntToStr(i);
      root->SetName(name);
    }
    block_ = &form_;
    parent_ = root;
    owner_ = root;
    root->ReadState(*this);
    Finish();
  } catch (const std::exception& e) {
    Rollback();
    if (dynamic_cast<const EReadError*>(&e)) throw;
    Fail(Format("%s: %s", {source_, std::string(e.what())}));
  }
}

void TReader::ReadData(TComponent* instance) {
  const formtext::Object& block = *block_;
  for (const auto& prop : block.properties) ReadProperty(instance, prop);
  TComponent* saved_parent = parent_;
  TComponent* saved_owner = owner_;
  const formtext::Object* saved_block = block_;
  parent_ = instance;
  owner_ = instance->GetChildOwner() ? instance->GetChildOwner() : root_;
  for (const auto& child : block.children) ReadChild(instance, child);
  parent_ = saved_parent;
  owner_ = saved_owner;
  block_ = saved_block;
}

void TReader::ReadChild(TComponent* parent, const formtext::Object& block) {
  TComponent* child = nullptr;
  try {
    TClass cls = FindClass(block.class_name);
    if (!cls->CanCreate()) throw EClassNotFound(std::string(cls->Name()) + " is not a component class");
    child = cls->Create(owner_);
  } catch (const EReadError&) {
    throw;
  } catch (const std::exception& e) {
    Fail(Format("%s(%d): Cannot create %s: %s", {source_, block.line, block.class_name, std::string(e.what())}));
  }
  loaded_.push_back(child);
  child->SetStateFlags({csLoading, csReading});
  try {
    child->SetName(block.name);
    child->SetParentComponent(parent);
  } catch (const EReadError&) {
    throw;
  } catch (const std::exception& e) {
    Fail(Format("%s(%d): Cannot place %s: %s",
                {source_, block.line, block.name.empty() ? block.class_name : block.name, std::string(e.what())}));
  }
  const formtext::Object* saved = block_;
  block_ = &block;
  child->ReadState(*this);
  block_ = saved;
}

void TReader::ReadProperty(TComponent* component, const formtext::Property& prop) {
  const std::string who = (component->Name().empty() ? std::string(component->ClassName()) : component->Name());
  try {
    std::vector<std::string> parts = SplitPath(prop.name);
    TObject* target = component;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
      const PropInfo* info = target->ClassType()->FindProperty(parts[i]);
      if (!info || info->kind != PropKind::Class) {
        throw EPropertyError("Property " + parts[i] + " does not exist or holds no object");
      }
      target = info->get_object(target);
      if (!target) throw EPropertyError("Property " + parts[i] + " holds no object");
    }
    const std::string& last = parts.back();
    if (const PropInfo* info = target->ClassType()->FindProperty(last)) {
      SetValue(component, target, *info, prop);
      return;
    }
    auto* persistent = dynamic_cast<TPersistent*>(target);
    if (!persistent || !ReadDefined(persistent, last, prop.value)) {
      throw EPropertyError("Property " + last + " does not exist");
    }
  } catch (const EReadError&) {
    throw;
  } catch (const std::exception& e) {
    Fail(Format("%s(%d): Error reading %s.%s: %s", {source_, prop.line, who, prop.name, std::string(e.what())}));
  }
}

void TReader::SetValue(TComponent* component, TObject* target, const PropInfo& info, const formtext::Property& prop) {
  const Value& v = prop.value;
  auto expect = [&](ValueKind kind, const char* what) {
    if (v.kind != kind) throw EPropertyError(std::string("Expected ") + what + ", found " + Found(v));
  };
  if (info.IsReadOnly()) throw EPropertyError("Property " + info.name + " is read-only");
  switch (info.kind) {
    case PropKind::Integer: {
      expect(ValueKind::Integer, "an integer");
      if (v.integer < info.min_value || v.integer > info.max_value) {
        throw EPropertyError(Format("%d is out of range (%d..%d)", {v.integer, info.min_value, info.max_value}));
      }
      info.set_ordinal(target, v.integer);
      return;
    }
    case PropKind::Boolean: {
      if (v.kind == ValueKind::Ident && SameText(v.text, "True")) return info.set_ordinal(target, 1);
      if (v.kind == ValueKind::Ident && SameText(v.text, "False")) return info.set_ordinal(target, 0);
      throw EPropertyError("Expected True or False, found " + (v.kind == ValueKind::Ident ? v.text : Found(v)));
    }
    case PropKind::Char: {
      if (v.kind == ValueKind::String && v.text.size() == 1) {
        return info.set_ordinal(target, static_cast<unsigned char>(v.text[0]));
      }
      if (v.kind == ValueKind::Integer && v.integer >= 0 && v.integer <= 255) return info.set_ordinal(target, v.integer);
      throw EPropertyError("Expected one character");
    }
    case PropKind::Enum: {
      expect(ValueKind::Ident, "an identifier");
      int index = info.enum_type->Find(v.text);
      if (index < 0) throw EPropertyError("'" + v.text + "' is not a value of " + info.enum_type->TypeName());
      info.set_ordinal(target, index);
      return;
    }
    case PropKind::Set: {
      expect(ValueKind::Set, "a set");
      uint64_t bits = 0;
      for (const std::string& name : v.idents) {
        int index = info.enum_type->Find(name);
        if (index < 0) throw EPropertyError("'" + name + "' is not a value of " + info.enum_type->TypeName());
        bits |= uint64_t{1} << index;
      }
      info.set_ordinal(target, static_cast<int64_t>(bits));
      return;
    }
    case PropKind::Color: {
      TColor color = 0;
      if (v.kind == ValueKind::Ident) {
        if (!IdentToColor(v.text, color)) throw EPropertyError("'" + v.text + "' is not a colour name");
      } else if (v.kind == ValueKind::Integer) {
        if (v.integer < info.min_value || v.integer > info.max_value) {
          throw EPropertyError(Format("%d is not a colour", {v.integer}));
        }
        color = static_cast<TColor>(static_cast<uint32_t>(v.integer));
      } else {
        throw EPropertyError("Expected a colour name or number, found " + Found(v));
      }
      info.set_ordinal(target, color);
      return;
    }
    case PropKind::String: {
      expect(ValueKind::String, "a string");
      if (info.max_length && v.text.size() > info.max_length) {
        throw EPropertyError(Format("The text is longer than %d characters", {static_cast<int64_t>(info.max_length)}));
      }
      info.set_string(target, v.text);
      return;
    }
    case PropKind::Float:
    case PropKind::DateTime: {
      if (v.kind == ValueKind::Float) return info.set_float(target, v.real);
      if (v.kind == ValueKind::Integer) return info.set_float(target, static_cast<double>(v.integer));
      throw EPropertyError("Expected a number, found " + Found(v));
    }
    case PropKind::Class:
      throw EPropertyError("Property " + info.name + " holds an object: store its properties (" + info.name +
                           ".Name = ...)");
    case PropKind::Component:
    case PropKind::Event: {
      expect(ValueKind::Ident, "a name");
      if (SameText(v.text, "nil")) {
        if (info.kind == PropKind::Component) {
          info.set_object(target, nullptr);
        } else {
          info.set_event(target, std::any());
          component->SetEventName(prop.name, "");
        }
        return;
      }
      pending_.push_back({component, target, &info, prop.name, v.text, prop.line});
      return;
    }
  }
}

bool TReader::ReadDefined(TPersistent* target, const std::string& name, const Value& value) {
  wanted_ = name;
  found_ = false;
  value_ = &value;
  value_taken_ = false;
  lists_.clear();
  target->DefineProperties(*this);
  wanted_.clear();
  value_ = nullptr;
  return found_;
}

void TReader::DefineProperty(const std::string& name, const ReaderProc& read, const WriterProc&, bool) {
  if (found_ || !read || !SameText(name, wanted_)) return;
  found_ = true;
  read(*this);
  if (!value_taken_ || !lists_.empty()) throw EPropertyError("The stored value was not read completely");
}

void TReader::DefineBinaryProperty(const std::string& name, const StreamProc& read, const StreamProc&, bool) {
  if (found_ || !read || !SameText(name, wanted_)) return;
  found_ = true;
  TMemoryStream stream;
  std::vector<uint8_t> bytes = ReadBinary();
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  read(stream);
}

const Value& TReader::NextValue(const char* expected) {
  if (!value_) throw EPropertyError(std::string("No stored value to read as ") + expected);
  if (!lists_.empty()) {
    auto& [list, index] = lists_.back();
    if (index >= list->items.size()) throw EPropertyError("The list ended where " + std::string(expected) + " was expected");
    return list->items[index++];
  }
  if (value_taken_) throw EPropertyError("The property holds one value, " + std::string(expected) + " was read after it");
  value_taken_ = true;
  return *value_;
}

int64_t TReader::ReadInteger() {
  const Value& v = NextValue("an integer");
  if (v.kind != ValueKind::Integer) throw EPropertyError("Expected an integer, found " + Found(v));
  return v.integer;
}

bool TReader::ReadBoolean() {
  const Value& v = NextValue("True or False");
  if (v.kind == ValueKind::Ident && SameText(v.text, "True")) return true;
  if (v.kind == ValueKind::Ident && SameText(v.text, "False")) return false;
  throw EPropertyError("Expected True or False, found " + Found(v));
}

char TReader::ReadChar() {
  const Value& v = NextValue("a character");
  if (v.kind == ValueKind::String && v.text.size() == 1) return v.text[0];
  throw EPropertyError("Expected one character, found " + Found(v));
}

double TReader::ReadFloat() {
  const Value& v = NextValue("a number");
  if (v.kind == ValueKind::Float) return v.real;
  if (v.kind == ValueKind::Integer) return static_cast<double>(v.integer);
  throw EPropertyError("Expected a number, found " + Found(v));
}

std::string TReader::ReadString() {
  const Value& v = NextValue("a string");
  if (v.kind != ValueKind::String) throw EPropertyError("Expected a string, found " + Found(v));
  return v.text;
}

std::string TReader::ReadIdent() {
  const Value& v = NextValue("an identifier");
  if (v.kind != ValueKind::Ident) throw EPropertyError("Expected an identifier, found " + Found(v));
  return v.text;
}

std::vector<uint8_t> TReader::ReadBinary() {
  const Value& v = NextValue("binary data");
  if (v.kind == ValueKind::Binary) return v.bytes;
  if (v.kind == ValueKind::FileRef) {
    const ResourceFile* file = FindResourceFile(v.text);
    if (!file) throw EPropertyError("No embedded file named '" + v.text + "'");
    return {file->data.begin(), file->data.end()};
  }
  throw EPropertyError("Expected binary data, found " + Found(v));
}

void TReader::ReadListBegin() {
  const Value& v = NextValue("a list");
  if (v.kind != ValueKind::List) throw EPropertyError("Expected a list, found " + Found(v));
  lists_.emplace_back(&v, 0);
}

bool TReader::EndOfList() const { return lists_.empty() || lists_.back().second >= lists_.back().first->items.size(); }

void TReader::ReadListEnd() {
  if (lists_.empty()) throw EPropertyError("No list is being read");
  if (!EndOfList()) throw EPropertyError("The list has more items than were read");
  lists_.pop_back();
}

void TReader::SkipValue() { NextValue("a value"); }

void TReader::Finish() {
  TComponent* root = root_;
  auto named = [&](const std::string& name) -> TComponent* {
    if (SameText(name, root->Name())) return root;
    return root->FindComponent(name);
  };
  for (const Pending& p : pending_) {
    try {
      if (p.info->kind == PropKind::Component) {
        TComponent* found = named(p.name);
        if (!found) throw EPropertyError("There is no component named " + p.name);
        p.info->set_object(p.target, found);
      } else {
        const MethodInfo* method = root->ClassType()->FindMethod(p.name);
        if (!method) throw EPropertyError(std::string(root->ClassName()) + " has no handler method " + p.name);
        if (method->signature != p.info->event_type) {
          throw EPropertyError("Method " + p.name + " does not fit event " + p.info->name);
        }
        p.info->set_event(p.target, method->bind(root));
        p.component->SetEventName(p.path, p.name);
      }
    } catch (const std::exception& e) {
      const std::string who = p.component->Name().empty() ? p.component->ClassName() : p.component->Name();
      Fail(Format("%s(%d): Error reading %s.%s: %s", {source_, p.line, who, p.path, std::string(e.what())}));
    }
  }
  pending_.clear();
  for (size_t i = 1; i < loaded_.size(); ++i) {
    TComponent* c = loaded_[i];
    if (c->Name().empty() || c->Owner() != root) continue;
    if (const FieldInfo* field = root->ClassType()->FindField(c->Name())) field->set(root, c);
  }
  for (TComponent* c : loaded_) c->ClearStateFlags({csReading});
  for (TComponent* c : loaded_) {
    try {
      c->Loaded();
    } catch (const std::exception& e) {
      const std::string who = c->Name().empty() ? c->ClassName() : c->Name();
      Fail(Format("%s: Error starting %s: %s", {source_, who, std::string(e.what())}));
    }
  }
}

void TReader::Rollback() {
  // Fields must not keep components that are about to go.
  for (size_t i = 1; i < loaded_.size(); ++i) {
    TComponent* c = loaded_[i];
    if (c->Name().empty()) continue;
    if (const FieldInfo* field = root_->ClassType()->FindField(c->Name())) {
      try {
        field->set(root_, nullptr);
      } catch (...) {
      }
    }
  }
  for (size_t i = loaded_.size(); i-- > 1;) loaded_[i]->Free();
  loaded_.clear();
  pending_.clear();
  root_->ClearStateFlags({csLoading, csReading});
}

// ---- TWriter ----------------------------------------------------------------------------

TWriter::TWriter(TComponent* root) { root_ = root; }

formtext::Object TWriter::WriteRootComponent() {
  root_->SetStateFlags({csWriting});
  try {
    formtext::Object out = WriteComponent(root_);
    root_->ClearStateFlags({csWriting});
    return out;
  } catch (...) {
    root_->ClearStateFlags({csWriting});
    throw;
  }
}

formtext::Object TWriter::WriteComponent(TComponent* component) {
  formtext::Object block;
  block.name = component->Name();
  block.class_name = component->ClassName();
  formtext::Object* saved = block_;
  block_ = &block;
  component->WriteState(*this);
  block_ = saved;
  return block;
}

void TWriter::WriteData(TComponent* instance) {
  WriteProperties(instance, instance, "", 0);
  formtext::Object* block = block_;
  instance->GetChildren([&](TComponent* child) { block->children.push_back(WriteComponent(child)); }, root_);
}

void TWriter::WriteProperties(TComponent* component, TObject* object, const std::string& prefix, int depth) {
  if (depth > formtext::kMaxDepth) throw EWriteError("Objects nest too deeply below " + prefix);
  for (const PropInfo* info : object->ClassType()->Properties()) {
    const std::string path = prefix + info->name;
    if (info->kind == PropKind::Class) {
      TObject* sub = info->get_object(object);
      if (sub && info->IsStored(object)) WriteProperties(component, sub, path + ".", depth + 1);
      continue;
    }
    if (info->IsReadOnly() || !info->IsStored(object)) continue;
    Value v;
    switch (info->kind) {
      case PropKind::Integer: v = Value::Int(info->get_ordinal(object)); break;
      case PropKind::Boolean: v = Value::Ident(info->get_ordinal(object) ? "True" : "False"); break;
      case PropKind::Char: v = Value::Str(std::string(1, static_cast<char>(info->get_ordinal(object)))); break;
      case PropKind::Enum: {
        const int64_t ord = info->get_ordinal(object);
        const std::string& name = info->enum_type->Name(ord);
        if (name.empty()) {
          throw EWriteError(Format("%s: %d is not a value of %s", {path, ord, info->enum_type->TypeName()}));
        }
        v = Value::Ident(name);
        break;
      }
      case PropKind::Set: {
        const auto bits = static_cast<uint64_t>(info->get_ordinal(object));
        std::vector<std::string> names;
        for (int i = 0; i < info->enum_type->Count() && i < 64; ++i) {
          if (bits & (uint64_t{1} << i)) names.push_back(info->enum_type->Name(i));
        }
        v = Value::SetOf(std::move(names));
        break;
      }
      case PropKind::Color: {
        const auto color = static_cast<TColor>(info->get_ordinal(object));
        std::string name;
        v = ColorToIdent(color, name) ? Value::Ident(name) : Value::Int(static_cast<uint32_t>(color));
        break;
      }
      case PropKind::String: v = Value::Str(info->get_string(object)); break;
      case PropKind::Float:
      case PropKind::DateTime: v = Value::Real(info->get_float(object)); break;
      case PropKind::Component: {
        auto* ref = dynamic_cast<TComponent*>(info->get_object(object));
        if (!ref || ref->Name().empty() || (ref != root_ && ref->Owner() != root_)) continue;  // not nameable here
        v = Value::Ident(ref->Name());
        break;
      }
      case PropKind::Event: {
        std::string handler = component->EventName(path);
        if (handler.empty()) continue;  // set in code: there is no name to store
        v = Value::Ident(handler);
        break;
      }
      case PropKind::Class: break;
    }
    block_->properties.push_back({path, std::move(v), 0});
  }
  if (auto* persistent = dynamic_cast<TPersistent*>(object)) {
    const std::string saved = prefix_;
    prefix_ = prefix;
    persistent->DefineProperties(*this);
    prefix_ = saved;
  }
}

void TWriter::DefineProperty(const std::string& name, const ReaderProc&, const WriterProc& write, bool has_data) {
  if (!write || !has_data) return;
  values_.clear();
  open_lists_ = 0;
  write(*this);
  block_->properties.push_back({prefix_ + name, TakeValue(name), 0});
}

void TWriter::DefineBinaryProperty(const std::string& name, const StreamProc&, const StreamProc& write, bool has_data) {
  if (!write || !has_data) return;
  TMemoryStream stream;
  write(stream);
  block_->properties.push_back({prefix_ + name, Value::Bytes(stream.Bytes()), 0});
}

formtext::Value TWriter::TakeValue(const std::string& name) {
  if (open_lists_ != 0) throw EWriteError("The writer of " + name + " left a list open");
  if (values_.size() != 1) throw EWriteError(Format("The writer of %s wrote %d values instead of one", {name, static_cast<int64_t>(values_.size())}));
  Value v = std::move(values_.front());
  values_.clear();
  return v;
}

void TWriter::Put(Value value) {
  if (open_lists_ > 0) {
    // The innermost open list is the last list value at each level.
    Value* list = &values_.back();
    for (int level = 1; level < open_lists_; ++level) list = &list->items.back();
    list->items.push_back(std::move(value));
  } else {
    values_.push_back(std::move(value));
  }
}

void TWriter::WriteInteger(int64_t value) { Put(Value::Int(value)); }
void TWriter::WriteBoolean(bool value) { Put(Value::Ident(value ? "True" : "False")); }
void TWriter::WriteChar(char value) { Put(Value::Str(std::string(1, value))); }
void TWriter::WriteFloat(double value) { Put(Value::Real(value)); }
void TWriter::WriteString(const std::string& value) { Put(Value::Str(value)); }
void TWriter::WriteIdent(const std::string& value) {
  if (!formtext::IsIdent(value)) throw EWriteError("'" + value + "' is not an identifier");
  Put(Value::Ident(value));
}
void TWriter::WriteBinary(std::vector<uint8_t> bytes) { Put(Value::Bytes(std::move(bytes))); }
void TWriter::WriteListBegin() {
  Put(Value::ListOf({}));
  ++open_lists_;
}
void TWriter::WriteListEnd() {
  if (open_lists_ == 0) throw EWriteError("No list is open");
  --open_lists_;
}

// ---- Entry points -----------------------------------------------------------------------

void ReadComponentFromText(TComponent* root, std::string_view text, const std::string& source) {
  formtext::Object form = formtext::Parse(text, source);
  TReader reader(form, source);
  reader.ReadRootComponent(root);
}

void ReadComponentResource(TComponent* root, std::string_view name) {
  const ResourceFile* file = FindResourceFile(name);
  if (!file) throw EReadError("There is no embedded form named " + std::string(name));
  std::string_view text(reinterpret_cast<const char*>(file->data.data()), file->data.size());
  ReadComponentFromText(root, text, std::string(name));
}

TComponent* CreateComponentFromText(std::string_view text, const std::string& source, TComponent* owner) {
  formtext::Object form = formtext::Parse(text, source);
  TClass cls = GetClass(form.class_name);
  if (!cls || !cls->CanCreate()) {
    throw EReadError(Format("%s(%d): Class %s not found", {source, form.line, form.class_name}));
  }
  TComponent* root = cls->Create(owner);
  try {
    TReader reader(form, source);
    reader.ReadRootComponent(root);
  } catch (...) {
    root->Free();
    throw;
  }
  return root;
}

std::string WriteComponentToText(TComponent* root) {
  TWriter writer(root);
  return formtext::Print(writer.WriteRootComponent());
}

void TComponent::InitInstance() {
  const std::string name = FormResource();
  if (!name.empty()) ReadComponentResource(this, name);
}

}  // namespace host
