#include "ui/tray_hiding.h"

void TrayHiding::Hide() {
  if (hidden_) return;
  iconAdded_ = system_.AddTrayIcon();
  view_.HideForm();
  hidden_ = true;
}

void TrayHiding::Restore() {
  view_.ShowForm();
  system_.RemoveTrayIcon();
  hidden_ = false;
}

void TrayHiding::RetryIcon() {
  if (hidden_ && !iconAdded_) iconAdded_ = system_.AddTrayIcon();
}

void TrayHiding::TaskbarCreated() {
  if (hidden_) iconAdded_ = system_.AddTrayIcon();
}

void TrayHiding::RemoveIcon() {
  if (!hidden_) return;
  system_.RemoveTrayIcon();
  hidden_ = false;
}
