// Run-time class information: class names and ancestry, creation by class name, and the
// descriptors of published properties, handler methods and component fields that the form
// reader and writer (and later property editors) work through.
//
// Classes describe themselves with HOST_CLASS in the header and HOST_DEFINE_CLASS or
// HOST_PUBLISHED in the source (host/classes/publish.h shows how).
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

namespace host {

class EnumType;
class TObject;
class TComponent;
class TClassInfo;
using TClass = const TClassInfo*;

enum class PropKind : uint8_t {
  Integer,    // a whole number within [MinValue, MaxValue]
  Boolean,    // False / True
  Char,       // one byte
  Enum,       // a value of Enum()
  Set,        // a set of values of Enum()
  Color,      // a TColor, stored by name when it has one
  String,     // text; a short string has MaxLength 255
  Float,      // a double
  DateTime,   // a TDateTime
  Class,      // a sub-object owned by the instance (Font, Bevel, Lines): its own properties
  Component,  // a reference to another component, by name
  Event,      // a handler bound by method name
};

// When the writer stores a property.
enum class StoredRule : uint8_t {
  WhenNotDefault,  // ordinal, float and string properties with a declared default
  Always,          // ordinal properties without a declared default; `.Always()`
  Never,           // `.Never()`
  Custom,          // `.Stored(&T::IsFooStored)`
};

class PropInfo {
 public:
  std::string name;
  PropKind kind = PropKind::Integer;
  TClass declared_in = nullptr;

  // Integer, Char: bounds of the value. String: MaxLength (0 = unbounded).
  int64_t min_value = 0;
  int64_t max_value = 0;
  size_t max_length = 0;
  const EnumType* enum_type = nullptr;       // Enum, Set (the element type)
  TClass (*object_class)() = nullptr;        // Class, Component: the class of the object
  std::type_index event_type = typeid(void);  // Event: the std::function type

  bool has_default = false;
  int64_t default_ordinal = 0;
  double default_float = 0;
  std::string default_string;
  StoredRule stored = StoredRule::WhenNotDefault;
  std::function<bool(const TObject*)> stored_when;

  // Accessors; which are set depends on kind.
  std::function<int64_t(const TObject*)> get_ordinal;  // Integer .. Color
  std::function<void(TObject*, int64_t)> set_ordinal;
  std::function<double(const TObject*)> get_float;  // Float, DateTime
  std::function<void(TObject*, double)> set_float;
  std::function<std::string(const TObject*)> get_string;
  std::function<void(TObject*, const std::string&)> set_string;
  std::function<TObject*(const TObject*)> get_object;  // Class, Component
  std::function<void(TObject*, TObject*)> set_object;  // may be empty for Class
  std::function<bool(const TObject*)> event_assigned;
  std::function<void(TObject*, const std::any&)> set_event;  // an empty any clears

  bool IsOrdinal() const { return kind <= PropKind::Color; }
  bool IsFloat() const { return kind == PropKind::Float || kind == PropKind::DateTime; }
  bool IsReadOnly() const;
  // True when the instance's value equals the declared default (never for Always).
  bool IsDefault(const TObject* instance) const;
  // True when the writer stores this property for instance.
  bool IsStored(const TObject* instance) const;
  TClass ObjectClass() const { return object_class ? object_class() : nullptr; }

  // Modifiers for registration: `c.Property(...).Range(1, 100).Stored(&T::IsWidthStored)`.
  PropInfo& Range(int64_t min, int64_t max);
  PropInfo& MaxLength(size_t n);
  PropInfo& Always();
  PropInfo& Never();
  PropInfo& Stored(std::function<bool(const TObject*)> predicate);
};

// A handler method a stored form names for an event: `OnClick = helpClick`.
struct MethodInfo {
  std::string name;
  std::type_index signature = typeid(void);  // the std::function type it binds to
  std::function<std::any(TObject* instance)> bind;
};

// A member of a form class that receives the component of its name when the form is read.
struct FieldInfo {
  std::string name;
  TClass (*field_class)() = nullptr;
  std::function<void(TObject* instance, TComponent* component)> set;
};

using TComponentFactory = TComponent* (*)(TComponent* owner);

class TClassInfo {
 public:
  TClassInfo(const char* name, TClass parent, void (*init)(TClassInfo&));
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const char* Name() const { return name_; }
  TClass Parent() const { return parent_; }
  bool InheritsFrom(TClass ancestor) const;

  // Virtual construction: components with a public (TComponent* owner) constructor.
  bool CanCreate() const { return factory_ != nullptr; }
  // Raises EInvalidOperation for a class that cannot be created by name.
  TComponent* Create(TComponent* owner) const;

  // Published properties of the class and its ancestors, ancestors first; a property
  // published again in a descendant (a new default, say) replaces the ancestor's in place.
  std::vector<const PropInfo*> Properties() const;
  // Looks a property up by name, ignoring ASCII case, descendants first.
  const PropInfo* FindProperty(std::string_view name) const;
  const MethodInfo* FindMethod(std::string_view name) const;
  const FieldInfo* FindField(std::string_view name) const;

  // Used while the class describes itself.
  PropInfo& AddProperty(std::unique_ptr<PropInfo> prop);
  void AddMethod(MethodInfo method);
  void AddField(FieldInfo field);
  void SetFactory(TComponentFactory factory) { factory_ = factory; }

 private:
  const char* name_;
  TClass parent_;
  TComponentFactory factory_ = nullptr;
  std::vector<std::unique_ptr<PropInfo>> properties_;
  std::vector<MethodInfo> methods_;
  std::vector<FieldInfo> fields_;
};

// The class registry: classes a form may name. Registering twice is harmless; registering a
// different class under a name already taken raises EInvalidOperation.
void RegisterClass(TClass cls);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass cls);
// The registered class of that name (ignoring ASCII case), or nullptr.
TClass GetClass(std::string_view name);
// As GetClass, but raises EClassNotFound ("Class TFoo not found").
TClass FindClass(std::string_view name);

}  // namespace host
