#include "host/classes/typinfo.h"

#include <algorithm>
#include <map>

#include "host/classes/component.h"
#include "host/classes/enuminfo.h"
#include "host/classes/format.h"
#include "host/classes/sysutils.h"

namespace host {

// ---- TObject ----------------------------------------------------------------------------

TClass TObject::StaticClass() {
  static const TClassInfo info("TObject", nullptr, [](TClassInfo&) {});
  return &info;
}

const char* TObject::ClassName() const { return ClassType()->Name(); }
TClass TObject::ClassParent() const { return ClassType()->Parent(); }
bool TObject::InheritsFrom(TClass ancestor) const { return ClassType()->InheritsFrom(ancestor); }

// ---- EnumType ---------------------------------------------------------------------------

EnumType::EnumType(std::string_view type_name, std::string_view names_list) : type_name_(type_name) {
  size_t start = 0;
  while (start <= names_list.size()) {
    size_t comma = names_list.find(',', start);
    if (comma == std::string_view::npos) comma = names_list.size();
    std::string_view part = names_list.substr(start, comma - start);
    while (!part.empty() && (part.front() == ' ' || part.front() == '\n' || part.front() == '\t')) part.remove_prefix(1);
    while (!part.empty() && (part.back() == ' ' || part.back() == '\n' || part.back() == '\t')) part.remove_suffix(1);
    if (!part.empty()) names_.emplace_back(part);
    start = comma + 1;
  }
}

const std::string& EnumType::Name(int64_t value) const {
  static const std::string kNone;
  if (value < 0 || value >= Count()) return kNone;
  return names_[static_cast<size_t>(value)];
}

int EnumType::Find(std::string_view name) const {
  for (size_t i = 0; i < names_.size(); ++i) {
    if (SameText(names_[i], name)) return static_cast<int>(i);
  }
  return -1;
}

// ---- PropInfo ---------------------------------------------------------------------------

bool PropInfo::IsReadOnly() const {
  switch (kind) {
    case PropKind::Float:
    case PropKind::DateTime: return !set_float;
    case PropKind::String: return !set_string;
    case PropKind::Class: return false;  // its properties are written, not the object
    case PropKind::Component: return !set_object;
    case PropKind::Event: return !set_event;
    default: return !set_ordinal;
  }
}

bool PropInfo::IsDefault(const TObject* instance) const {
  switch (kind) {
    case PropKind::Float:
    case PropKind::DateTime: return get_float(instance) == default_float;
    case PropKind::String: return get_string(instance) == default_string;
    case PropKind::Class: return false;
    case PropKind::Component: return get_object(instance) == nullptr;
    case PropKind::Event: return !event_assigned(instance);
    default: return has_default && get_ordinal(instance) == default_ordinal;
  }
}

bool PropInfo::IsStored(const TObject* instance) const {
  switch (stored) {
    case StoredRule::Never: return false;
    case StoredRule::Custom: return stored_when(instance);
    case StoredRule::Always: return true;
    case StoredRule::WhenNotDefault: return !IsDefault(instance);
  }
  return true;
}

PropInfo& PropInfo::Range(int64_t min, int64_t max) {
  min_value = min;
  max_value = max;
  return *this;
}

PropInfo& PropInfo::MaxLength(size_t n) {
  max_length = n;
  return *this;
}

PropInfo& PropInfo::Always() {
  stored = StoredRule::Always;
  return *this;
}

PropInfo& PropInfo::Never() {
  stored = StoredRule::Never;
  return *this;
}

PropInfo& PropInfo::Stored(std::function<bool(const TObject*)> predicate) {
  stored = StoredRule::Custom;
  stored_when = std::move(predicate);
  return *this;
}

// ---- TClassInfo -------------------------------------------------------------------------

TClassInfo::TClassInfo(const char* name, TClass parent, void (*init)(TClassInfo&)) : name_(name), parent_(parent) {
  init(*this);
}

bool TClassInfo::InheritsFrom(TClass ancestor) const {
  for (TClass c = this; c; c = c->parent_) {
    if (c == ancestor) return true;
  }
  return false;
}

TComponent* TClassInfo::Create(TComponent* owner) const {
  if (!factory_) throw EInvalidOperation(std::string("Cannot create an instance of ") + name_);
  return factory_(owner);
}

std::vector<const PropInfo*> TClassInfo::Properties() const {
  std::vector<TClass> chain;
  for (TClass c = this; c; c = c->parent_) chain.push_back(c);
  std::vector<const PropInfo*> out;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const auto& p : (*it)->properties_) {
      auto same = std::find_if(out.begin(), out.end(), [&](const PropInfo* q) { return SameText(q->name, p->name); });
      if (same != out.end()) {
        *same = p.get();
      } else {
        out.push_back(p.get());
      }
    }
  }
  return out;
}

const PropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (TClass c = this; c; c = c->parent_) {
    for (const auto& p : c->properties_) {
      if (SameText(p->name, name)) return p.get();
    }
  }
  return nullptr;
}

const MethodInfo* TClassInfo::FindMethod(std::string_view name) const {
  for (TClass c = this; c; c = c->parent_) {
    for (const auto& m : c->methods_) {
      if (SameText(m.name, name)) return &m;
    }
  }
  return nullptr;
}

const FieldInfo* TClassInfo::FindField(std::string_view name) const {
  for (TClass c = this; c; c = c->parent_) {
    for (const auto& f : c->fields_) {
      if (SameText(f.name, name)) return &f;
    }
  }
  return nullptr;
}

PropInfo& TClassInfo::AddProperty(std::unique_ptr<PropInfo> prop) {
  prop->declared_in = this;
  properties_.push_back(std::move(prop));
  return *properties_.back();
}

void TClassInfo::AddMethod(MethodInfo method) { methods_.push_back(std::move(method)); }
void TClassInfo::AddField(FieldInfo field) { fields_.push_back(std::move(field)); }

// ---- Registry ---------------------------------------------------------------------------

namespace {

struct NoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const { return CompareText(a, b) < 0; }
};

std::map<std::string, TClass, NoCaseLess>& Registry() {
  static std::map<std::string, TClass, NoCaseLess> registry;
  return registry;
}

}  // namespace

void RegisterClass(TClass cls) {
  if (!cls) return;
  auto [it, inserted] = Registry().emplace(cls->Name(), cls);
  if (!inserted && it->second != cls) {
    throw EInvalidOperation(std::string("A class named ") + cls->Name() + " is already registered");
  }
}

void RegisterClasses(std::initializer_list<TClass> classes) {
  for (TClass c : classes) RegisterClass(c);
}

void UnRegisterClass(TClass cls) {
  if (!cls) return;
  auto it = Registry().find(cls->Name());
  if (it != Registry().end() && it->second == cls) Registry().erase(it);
}

TClass GetClass(std::string_view name) {
  auto it = Registry().find(std::string(name));
  return it == Registry().end() ? nullptr : it->second;
}

TClass FindClass(std::string_view name) {
  TClass c = GetClass(name);
  if (!c) throw EClassNotFound("Class " + std::string(name) + " not found");
  return c;
}

}  // namespace host
