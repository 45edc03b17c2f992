// A top-level window built from its stored layout. It owns its components and
// paints its controls, double-buffered, in creation order.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/components.h"
#include "platform/errors.h"
#include "platform/form_data.h"

namespace kv {

class TApplication;

class TForm {
 public:
  TForm(TApplication& app, const FormDef& def);
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  TApplication& Application() const { return app_; }
  const std::string& Caption() const { return caption_; }
  int ClientWidth() const { return client_.width(); }
  int ClientHeight() const { return client_.height(); }
  TColor Color() const { return color_; }

  bool Visible() const { return visible_; }
  // Showing a form makes it the active window.
  void SetVisible(bool v);
  bool DoubleBuffered = false;
  TCanvas* Canvas() { return &canvas_; }

  // Disposes of the form and all it owns: from now on none of its handlers runs.
  void Free();

  template <class T>
  T* Find(const std::string& name) const {
    for (const auto& c : components_)
      if (c->Name() == name) return dynamic_cast<T*>(c.get());
    return nullptr;
  }
  // Like Find, but a name missing from the layout is a programming error.
  template <class T>
  T* Component(const std::string& name) const;

  // Runs once the layout is loaded: opens media, then the creation handler.
  void Loaded();

  // Called by the application.
  void DoActivate();
  void DoClose();
  void DoKeyDown(std::uint16_t key, TShiftState shift);

  // Painting, used by controls and the application.
  bool Painting() const;
  void Invalidate(Rect r);
  // Repaints `r` now, wherever it differs from a fresh paint.
  void RepaintNow(Rect r);
  void Update();
  void Flush();
  void Scribble(Rect r, std::uint32_t pen, std::uint32_t brush);  // canvas drawing
  // Animated pictures: when the next frame is due, and invalidating those due.
  Micros NextAnimationChange(Micros now) const;
  void Animate(Micros now);
  // Stops every timer and hides the window; used when the form is disposed of.
  void Retire();
  Surface GetSurface() { return port_->surface(); }
  WindowPort* Port() const { return port_.get(); }

 private:
  void Create(const ComponentDef& d);
  void PaintRect(Rect r);

  TApplication& app_;
  const FormDef& def_;
  std::string caption_;
  Rect client_;
  TColor color_;
  bool visible_ = false;
  TCanvas canvas_{*this};
  std::unique_ptr<WindowPort> port_;
  std::vector<std::unique_ptr<TComponent>> components_;
  std::vector<TControl*> controls_;  // stacking order
  std::vector<TImage*> images_;      // the ones that may animate
  std::vector<Rect> dirty_;
  std::vector<Rect> scribbled_;
  std::vector<Rect> to_present_;
};

template <class T>
T* TForm::Component(const std::string& name) const {
  T* c = Find<T>(name);
  if (!c) throw EPlatformError("form layout has no component " + name);
  return c;
}

}  // namespace kv
