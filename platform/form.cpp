#include "platform/form.h"

#include <algorithm>
#include <cstdlib>

#include "platform/application.h"
#include "platform/resources.h"

namespace kv {

namespace {
// Past this many separate rectangles a repaint of their union is cheaper.
constexpr std::size_t kMaxRects = 24;

void add_rect(std::vector<Rect>& rects, Rect r) {
  if (r.empty()) return;
  for (const Rect& have : rects)
    if (have.intersect(r) == r) return;
  rects.push_back(r);
  if (rects.size() > kMaxRects) {
    Rect all;
    for (const Rect& x : rects) all = all.unite(x);
    rects.assign(1, all);
  }
}
}  // namespace

TForm::TForm(TApplication& app, const FormDef& def)
    : app_(app),
      def_(def),
      caption_(def.caption),
      client_(Rect::of(0, 0, def.client_width, def.client_height)),
      color_(def.color) {
  WindowSpec desc{cp1252_to_utf8(caption_), def.client_width, def.client_height, def.screen_center,
                  app.Icon ? &app.Icon->frames.front().image : nullptr};
  port_ = app.GetBackend().create_window(desc);
  for (const ComponentDef& d : def.components) Create(d);
}

TForm::~TForm() {
  // Components go in reverse creation order, before the window.
  while (!components_.empty()) components_.pop_back();
}

void TForm::Create(const ComponentDef& d) {
  std::unique_ptr<TComponent> made;
  TControl* control = nullptr;
  switch (d.kind) {
    case Kind::Image: {
      auto img = std::make_unique<TImage>(*this, d.name);
      img->SetBounds(d.left, d.top, d.width, d.height);
      img->AutoSize = d.auto_size;
      img->Stretch = d.stretch;
      if (d.picture) img->Picture()->Assign(embedded_picture(d.picture), app_.Now());
      images_.push_back(img.get());
      control = img.get();
      made = std::move(img);
      break;
    }
    case Kind::PaintBox: {
      auto box = std::make_unique<TPaintBox>(*this, d.name);
      box->SetBounds(d.left, d.top, d.width, d.height);
      control = box.get();
      made = std::move(box);
      break;
    }
    case Kind::Shape: {
      auto shape = std::make_unique<TShape>(*this, d.name);
      shape->SetBounds(d.left, d.top, d.width, d.height);
      shape->BrushColor = d.brush;
      shape->PenColor = d.pen;
      control = shape.get();
      made = std::move(shape);
      break;
    }
    case Kind::Label: {
      auto label = std::make_unique<TLabel>(*this, d.name);
      label->SetBounds(d.left, d.top, d.width, d.height);
      label->Color = d.color;
      label->Transparent = d.transparent;
      label->AutoSize = d.auto_size;
      label->Font = d.font;
      label->SetCaption(d.caption ? d.caption : "");
      control = label.get();
      made = std::move(label);
      break;
    }
    case Kind::Timer: {
      auto timer = std::make_unique<TTimer>(*this, d.name);
      timer->SetInterval(d.interval);
      if (d.on_timer) timer->OnTimer = [this, h = d.on_timer] { (this->*h)(); };
      timer->SetEnabled(d.enabled);
      made = std::move(timer);
      break;
    }
    case Kind::MediaPlayer: {
      auto player = std::make_unique<TMediaPlayer>(*this, d.name);
      player->FileName = d.file_name ? d.file_name : "";
      player->AutoOpen = d.auto_open;
      made = std::move(player);
      break;
    }
  }
  if (control) {
    control->SetVisible(d.visible);
    controls_.push_back(control);
  }
  components_.push_back(std::move(made));
}

void TForm::Loaded() {
  for (const auto& c : components_)
    if (auto* player = dynamic_cast<TMediaPlayer*>(c.get()); player && player->AutoOpen)
      player->Open();
  if (def_.on_create) (this->*def_.on_create)();
}

void TForm::DoActivate() {
  if (def_.on_activate) (this->*def_.on_activate)();
}

void TForm::DoClose() {
  if (def_.on_close) (this->*def_.on_close)();
}

void TForm::DoKeyDown(std::uint16_t key, TShiftState shift) {
  if (def_.on_key_down) (this->*def_.on_key_down)(key, shift);
}

void TForm::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  if (v) {
    // The first frame goes out before the activation handler runs.
    Invalidate(client_);
    Update();
    port_->show();
    to_present_.clear();
    app_.Activate(this);
  } else {
    port_->hide();
    app_.Deactivate(this);
  }
}

void TForm::Free() {
  app_.Dispose(this);
}

void TForm::Retire() {
  for (const auto& c : components_) {
    if (auto* t = dynamic_cast<TTimer*>(c.get())) {
      t->SetEnabled(false);
      app_.UnregisterTimer(t);
    }
  }
  visible_ = false;
  port_->hide();
}

bool TForm::Painting() const {
  return app_.GetBackend().painting();
}

void TForm::Invalidate(Rect r) {
  if (!Painting()) return;
  add_rect(dirty_, r.intersect(client_));
}

void TForm::RepaintNow(Rect r) {
  if (!Painting()) return;
  r = r.intersect(client_);
  // Whatever was never invalidated already shows what a fresh paint would;
  // only what was drawn on the canvas since needs painting over.
  for (const Rect& s : scribbled_) add_rect(dirty_, s.intersect(r));
  std::erase_if(scribbled_, [&](const Rect& s) { return r.intersect(s) == s; });
  Update();
}

void TForm::Update() {
  if (dirty_.empty()) return;
  std::vector<Rect> rects;
  rects.swap(dirty_);
  for (const Rect& r : rects) {
    PaintRect(r);
    add_rect(to_present_, r);
  }
}

void TForm::PaintRect(Rect r) {
  Painter p(port_->surface(), r);
  p.fill(r, to_pixel(color_));
  for (TControl* c : controls_)
    if (c->Visible() && !c->BoundsRect().intersect(r).empty()) {
      Painter inner = p.within(c->BoundsRect());
      c->Paint(inner);
    }
}

void TForm::Flush() {
  if (to_present_.empty()) return;
  if (visible_) port_->present(to_present_);
  to_present_.clear();
}

void TForm::Scribble(Rect r, std::uint32_t pen, std::uint32_t brush) {
  if (!Painting()) return;
  Painter p(port_->surface(), client_);
  p.ellipse(r, pen, brush);
  add_rect(scribbled_, r.intersect(client_));
  add_rect(to_present_, r.intersect(client_));
}

Micros TForm::NextAnimationChange(Micros now) const {
  Micros next = kNever;
  for (const TImage* img : images_)
    if (img->Visible()) next = std::min(next, img->Picture()->NextFrameChange(now));
  return next;
}

void TForm::Animate(Micros now) {
  for (TImage* img : images_)
    if (img->Visible() && img->Picture()->Animated() && img->FrameChanged(now))
      Invalidate(img->BoundsRect());
}

}  // namespace kv
