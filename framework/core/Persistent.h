// The root of everything a stored layout can set properties on.
#pragma once

namespace fw {

class TPersistent {
 public:
  virtual ~TPersistent() = default;
  // The class name the property tables and window classes are keyed by.
  virtual const char* ClassName() const { return "TPersistent"; }
};

}  // namespace fw
