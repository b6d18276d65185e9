#pragma once

#include <windows.h>
#include <olectl.h>

#include <memory>

// A JPEG from the program's resources, drawn stretched into any rectangle.
class Picture {
 public:
  static Picture FromResource(HINSTANCE instance, int resourceId);

  void Draw(HDC dc, const RECT& target) const;

 private:
  struct Releaser {
    void operator()(IUnknown* object) const { object->Release(); }
  };
  std::unique_ptr<IPicture, Releaser> picture_;
};
