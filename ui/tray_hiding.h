#pragma once

#include "ui/form_view.h"

// The window hidden into the notification area and brought back. The icon
// exists only while the window is hidden: without it the window is lost.
class TrayHiding {
 public:
  TrayHiding(FormView& view, FormSystem& system) : view_(view), system_(system) {}

  bool IsHidden() const { return hidden_; }
  void Hide();
  void Restore();
  // At logon the shell may still refuse the icon, and no "TaskbarCreated"
  // need follow: it is tried again on every tick until the shell takes it.
  void RetryIcon();
  // A new taskbar starts without the icon.
  void TaskbarCreated();
  // The program ends: no icon may stay behind.
  void RemoveIcon();

 private:
  FormView& view_;
  FormSystem& system_;
  bool hidden_ = false;
  bool iconAdded_ = false;
};
