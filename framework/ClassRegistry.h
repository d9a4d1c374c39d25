// Published properties and creatable classes. Each class registers, once, the
// properties a stored layout may set (name, setter, default) and, when a
// layout may create it, a factory. Lookups walk up to the parent class.
#pragma once

#include <any>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "framework/Colors.h"
#include "framework/Components.h"
#include "framework/core/LayoutParser.h"

namespace fw {

class TCustomForm;

// What a setter gets besides the value: the form being read and a place to
// put work that must wait until every component exists.
struct TLoadContext {
  TCustomForm* root = nullptr;
  std::vector<std::function<void()>> fixups;
};

using PropertySetter = std::function<void(TPersistent&, const StoredValue&, TLoadContext&)>;
using SubObjectGetter = std::function<TPersistent*(TPersistent&)>;
using ComponentFactory = std::function<TComponent*(TComponent* owner)>;

struct PropertyInfo {
  PropertySetter set;
  std::string defaultValue;  // as a layout would write it; empty when none
};

struct ClassInfo {
  std::string name;
  std::string parent;
  ComponentFactory create;
  std::map<std::string, PropertyInfo> properties;
  std::map<std::string, SubObjectGetter> subObjects;
};

class EPropertyError : public Exception {
 public:
  using Exception::Exception;
};

class ClassRegistry {
 public:
  static ClassRegistry& Instance();
  ClassInfo& Register(const std::string& name, const std::string& parent, ComponentFactory create);
  const ClassInfo* Find(const std::string& name) const;
  TComponent* Create(const std::string& className, TComponent* owner) const;
  // Sets a possibly dotted property ("Font.Height") on target, whose class
  // name keys the tables. Throws EPropertyError for an unknown property.
  void SetProperty(TPersistent& target, const std::string& path, const StoredValue& value, TLoadContext& ctx) const;

 private:
  ClassRegistry() = default;
  std::map<std::string, ClassInfo> FClasses;
};

// Value conversions shared by the setters.
std::int64_t StoredInteger(const StoredValue& v);
bool StoredBool(const StoredValue& v);
// A string of the layout in the program's ANSI code page.
std::string StoredAnsiString(const StoredValue& v);
TColor StoredColor(const StoredValue& v);
int StoredEnum(const StoredValue& v, std::initializer_list<std::pair<const char*, int>> names);
unsigned StoredSet(const StoredValue& v, std::initializer_list<std::pair<const char*, unsigned>> names);

// Typed registration of a class's published properties.
template <typename T>
class PropertyTable {
 public:
  explicit PropertyTable(ClassInfo& info) : FInfo(info) {}

  PropertyTable& Custom(const std::string& name, std::function<void(T&, const StoredValue&, TLoadContext&)> set,
                        std::string def = {}) {
    FInfo.properties[name] = PropertyInfo{
        [set](TPersistent& p, const StoredValue& v, TLoadContext& ctx) { set(dynamic_cast<T&>(p), v, ctx); },
        std::move(def)};
    return *this;
  }
  template <typename Arg>
  PropertyTable& Integer(const std::string& name, void (T::*set)(Arg), int def = 0) {
    return Custom(
        name, [set](T& t, const StoredValue& v, TLoadContext&) { (t.*set)(static_cast<Arg>(StoredInteger(v))); },
        std::to_string(def));
  }
  PropertyTable& Bool(const std::string& name, void (T::*set)(bool), bool def) {
    return Custom(
        name, [set](T& t, const StoredValue& v, TLoadContext&) { (t.*set)(StoredBool(v)); }, def ? "True" : "False");
  }
  PropertyTable& String(const std::string& name, void (T::*set)(const std::string&)) {
    return Custom(name, [set](T& t, const StoredValue& v, TLoadContext&) { (t.*set)(StoredAnsiString(v)); });
  }
  PropertyTable& Color(const std::string& name, void (T::*set)(TColor), const char* def) {
    return Custom(
        name, [set](T& t, const StoredValue& v, TLoadContext&) { (t.*set)(StoredColor(v)); }, def);
  }
  template <typename E>
  PropertyTable& Enum(const std::string& name, void (T::*set)(E),
                      std::initializer_list<std::pair<const char*, int>> names, const char* def) {
    std::vector<std::pair<std::string, int>> table(names.begin(), names.end());
    return Custom(
        name,
        [set, table](T& t, const StoredValue& v, TLoadContext&) {
          if (v.kind == StoredValue::kIdent)
            for (const auto& [n, value] : table)
              if (n == v.text) return (t.*set)(static_cast<E>(value));
          throw EPropertyError("Invalid property value");
        },
        def);
  }
  template <typename S>
  PropertyTable& Set(const std::string& name, void (T::*set)(S),
                     std::initializer_list<std::pair<const char*, unsigned>> names, const char* def) {
    std::vector<std::pair<std::string, unsigned>> table(names.begin(), names.end());
    return Custom(
        name,
        [set, table](T& t, const StoredValue& v, TLoadContext&) {
          if (v.kind != StoredValue::kSet) throw EPropertyError("Invalid property value");
          unsigned bits = 0;
          for (const std::string& n : v.names) {
            bool found = false;
            for (const auto& [tn, b] : table)
              if (tn == n) bits |= b, found = true;
            if (!found) throw EPropertyError("Invalid property value");
          }
          (t.*set)(static_cast<S>(bits));
        },
        def);
  }
  template <typename Sub>
  PropertyTable& Object(const std::string& name, Sub& (T::*get)()) {
    FInfo.subObjects[name] = [get](TPersistent& p) -> TPersistent* { return &(dynamic_cast<T&>(p).*get)(); };
    return *this;
  }
  // A sub-object that is a plain member.
  template <typename Sub>
  PropertyTable& Object(const std::string& name, Sub T::*member) {
    FInfo.subObjects[name] = [member](TPersistent& p) -> TPersistent* { return &(dynamic_cast<T&>(p).*member); };
    return *this;
  }
  // An event: the value names a published method of the form being read,
  // of the event's type.
  template <typename E>
  PropertyTable& Event(const std::string& name, void (T::*set)(E));
  // Accepted and ignored: properties kept in layouts for the designer only.
  PropertyTable& Ignored(const std::string& name) {
    return Custom(name, [](T&, const StoredValue&, TLoadContext&) {});
  }

 private:
  ClassInfo& FInfo;
};

template <typename T>
PropertyTable<T> RegisterClass(const std::string& name, const std::string& parent, bool creatable = true) {
  ComponentFactory factory;
  if constexpr (std::is_constructible_v<T, TComponent*>) {
    if (creatable) factory = [](TComponent* owner) -> TComponent* { return new T(owner); };
  }
  return PropertyTable<T>(ClassRegistry::Instance().Register(name, parent, std::move(factory)));
}

// Resolves an event name against the form being read: its published method
// of that name, of any event type.
const std::any& FindLayoutMethod(TLoadContext& ctx, const std::string& name);
// A method of another event type than the one it is set for.
[[noreturn]] void RaiseMethodTypeError(const std::string& name);

template <typename T>
template <typename E>
PropertyTable<T>& PropertyTable<T>::Event(const std::string& name, void (T::*set)(E)) {
  return Custom(name, [set](T& t, const StoredValue& v, TLoadContext& ctx) {
    if (v.kind != StoredValue::kIdent) throw EPropertyError("Invalid property value");
    const E* method = std::any_cast<E>(&FindLayoutMethod(ctx, v.text));
    if (!method) RaiseMethodTypeError(v.text);
    (t.*set)(*method);
  });
}

// Creates the components of a stored layout under root and sets their
// properties in stored order; then calls Loaded on each, root first.
void ReadComponentLayout(TCustomForm& root, const StoredObject& layout);

// Registers the framework's own classes; called once by the registry.
void RegisterFrameworkClasses();

}  // namespace fw
