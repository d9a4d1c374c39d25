// The registry of published properties and the reader of stored layouts.
#include "framework/ClassRegistry.h"

#include <windows.h>

#include "framework/Controls.h"
#include "framework/Forms.h"

namespace fw {

ClassRegistry& ClassRegistry::Instance() {
  static ClassRegistry registry;
  static bool registered = false;
  if (!registered) {
    registered = true;
    RegisterFrameworkClasses();
  }
  return registry;
}

ClassInfo& ClassRegistry::Register(const std::string& name, const std::string& parent, ComponentFactory create) {
  ClassInfo& info = FClasses[name];
  info.name = name;
  info.parent = parent;
  if (create) info.create = std::move(create);
  return info;
}

const ClassInfo* ClassRegistry::Find(const std::string& name) const {
  auto it = FClasses.find(name);
  return it == FClasses.end() ? nullptr : &it->second;
}

TComponent* ClassRegistry::Create(const std::string& className, TComponent* owner) const {
  const ClassInfo* info = Find(className);
  if (!info || !info->create) throw EPropertyError(Format("Class %s not found", className));
  return info->create(owner);
}

void ClassRegistry::SetProperty(TPersistent& target, const std::string& path, const StoredValue& value,
                                TLoadContext& ctx) const {
  std::size_t dot = path.find('.');
  std::string head = dot == std::string::npos ? path : path.substr(0, dot);
  for (const ClassInfo* info = Find(target.ClassName()); info; info = Find(info->parent)) {
    if (dot != std::string::npos) {
      auto sub = info->subObjects.find(head);
      if (sub != info->subObjects.end()) {
        TPersistent* object = sub->second(target);
        SetProperty(*object, path.substr(dot + 1), value, ctx);
        return;
      }
    } else {
      auto prop = info->properties.find(head);
      if (prop != info->properties.end()) {
        prop->second.set(target, value, ctx);
        return;
      }
    }
    if (info->parent.empty()) break;
  }
  throw EPropertyError(Format("Property %s does not exist", head));
}

std::int64_t StoredInteger(const StoredValue& v) {
  if (v.kind == StoredValue::kInteger) return v.integer;
  if (v.kind == StoredValue::kIdent) {
    // Charset names as the layouts write them.
    static const std::pair<const char*, int> kCharsets[] = {
        {"ANSI_CHARSET", ANSI_CHARSET},     {"DEFAULT_CHARSET", DEFAULT_CHARSET},
        {"SYMBOL_CHARSET", SYMBOL_CHARSET}, {"RUSSIAN_CHARSET", RUSSIAN_CHARSET},
        {"OEM_CHARSET", OEM_CHARSET},       {"EASTEUROPE_CHARSET", EASTEUROPE_CHARSET},
        {"GREEK_CHARSET", GREEK_CHARSET},   {"TURKISH_CHARSET", TURKISH_CHARSET},
        {"BALTIC_CHARSET", BALTIC_CHARSET},
    };
    for (const auto& [name, value] : kCharsets)
      if (v.text == name) return value;
  }
  throw EPropertyError("Invalid property value");
}

bool StoredBool(const StoredValue& v) {
  if (v.kind == StoredValue::kIdent) {
    if (v.text == "True") return true;
    if (v.text == "False") return false;
  }
  throw EPropertyError("Invalid property value");
}

std::string StoredAnsiString(const StoredValue& v) {
  if (v.kind != StoredValue::kString) throw EPropertyError("Invalid property value");
  if (v.text.empty()) return {};
  int wide = ::MultiByteToWideChar(CP_UTF8, 0, v.text.data(), static_cast<int>(v.text.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(wide), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, v.text.data(), static_cast<int>(v.text.size()), w.data(), wide);
  int n = ::WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, w.data(), wide, out.data(), n, nullptr, nullptr);
  return out;
}

TColor StoredColor(const StoredValue& v) {
  if (v.kind == StoredValue::kInteger) return static_cast<TColor>(v.integer);
  TColor c;
  if (v.kind == StoredValue::kIdent && IdentToColor(v.text.c_str(), c)) return c;
  throw EPropertyError("Invalid property value");
}

unsigned StoredSet(const StoredValue& v, std::initializer_list<std::pair<const char*, unsigned>> names) {
  if (v.kind != StoredValue::kSet) throw EPropertyError("Invalid property value");
  unsigned bits = 0;
  for (const std::string& n : v.names) {
    bool found = false;
    for (const auto& [name, bit] : names)
      if (n == name) bits |= bit, found = true;
    if (!found) throw EPropertyError("Invalid property value");
  }
  return bits;
}

const std::any& FindLayoutMethod(TLoadContext& ctx, const std::string& name) {
  const std::any* method = ctx.root ? ctx.root->PublishedMethod(name) : nullptr;
  if (!method) throw EPropertyError(Format("Invalid method name %s", name));
  return *method;
}

void RaiseMethodTypeError(const std::string& name) {
  throw EPropertyError(Format("Method %s has an incompatible parameter list", name));
}

namespace {

void ReadObject(TComponent& target, const StoredObject& object, TLoadContext& ctx, std::vector<TComponent*>& loaded) {
  const ClassRegistry& registry = ClassRegistry::Instance();
  for (const StoredProperty& p : object.properties) {
    try {
      registry.SetProperty(target, p.name, p.value, ctx);
    } catch (const Exception& e) {
      std::string who = target.Name().empty() ? std::string(target.ClassName()) : target.Name();
      throw EPropertyError("Error reading " + who + "." + p.name + ": " + e.Message());
    }
  }
  for (const StoredObject& child : object.children) {
    TComponent* c = registry.Create(child.className, ctx.root);
    c->SetLoadingState(true);
    loaded.push_back(c);
    c->SetName(child.name);
    if (!child.name.empty() && ctx.root && !ctx.root->BindField(child.name, c))
      throw EPropertyError(Format("Invalid class type of %s", child.name));
    if (auto* control = dynamic_cast<TControl*>(c)) control->ReadIntoContainer(&target);
    ReadObject(*c, child, ctx, loaded);
  }
}

}  // namespace

void ReadComponentLayout(TCustomForm& root, const StoredObject& layout) {
  TLoadContext ctx;
  ctx.root = &root;
  std::vector<TComponent*> loaded{&root};
  root.SetLoadingState(true);
  try {
    ReadObject(root, layout, ctx, loaded);
    for (auto& fixup : ctx.fixups) fixup();
  } catch (...) {
    for (TComponent* c : loaded) c->SetLoadingState(false);
    throw;
  }
  for (TComponent* c : loaded) c->Loaded();
}

}  // namespace fw
