#include "platform/components.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/application.h"
#include "platform/errors.h"
#include "platform/form.h"

namespace kv {

// ---- TControl

void TControl::SetBounds(int x, int y, int w, int h) {
  const Rect nb = Rect::of(x, y, w, h);
  if (nb == bounds_) return;
  if (visible_) Invalidate();
  bounds_ = nb;
  if (visible_) Invalidate();
}

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Invalidate();
}

void TControl::Invalidate() {
  Owner().Invalidate(bounds_);
}

// ---- TPicture, TImage

void TPicture::LoadFromFile(const std::string& file_name) {
  const auto dot = file_name.find_last_of('.');
  std::string ext = dot == std::string::npos ? "" : file_name.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext != ".gif")
    throw EInvalidGraphic(file_name + ": unknown picture file extension (" + ext + ")");
  auto gif = std::make_shared<const GifPicture>(load_gif_file(file_name));
  Assign(std::move(gif), owner_.Owner().Application().Now());
}

void TPicture::Assign(std::shared_ptr<const GifPicture> gif, Micros now) {
  gif_ = std::move(gif);
  start_ = now;
  loop_us_ = 0;
  if (gif_)
    for (const GifFrame& f : gif_->frames) loop_us_ += Micros{std::max(f.delay_ms, 10)} * 1000;
  owner_.PictureChanged();
}

const RgbaImage* TPicture::FrameAt(Micros now) const {
  if (!gif_ || gif_->frames.empty()) return nullptr;
  if (!Animated()) return &gif_->frames.front().image;
  Micros t = (now - start_) % loop_us_;
  for (const GifFrame& f : gif_->frames) {
    const Micros d = Micros{std::max(f.delay_ms, 10)} * 1000;
    if (t < d) return &f.image;
    t -= d;
  }
  return &gif_->frames.back().image;
}

Micros TPicture::NextFrameChange(Micros now) const {
  if (!Animated()) return kNever;
  const Micros elapsed = now - start_;
  const Micros lap = elapsed - elapsed % loop_us_;
  Micros edge = lap;
  for (const GifFrame& f : gif_->frames) {
    edge += Micros{std::max(f.delay_ms, 10)} * 1000;
    if (edge > elapsed) return start_ + edge;
  }
  return start_ + lap + loop_us_;
}

TImage::TImage(TForm& owner, std::string name)
    : TControl(owner, std::move(name)), picture_(*this) {}

void TImage::PictureChanged() {
  if (AutoSize && picture_.Width() > 0)
    SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
  Invalidate();
}

bool TImage::FrameChanged(Micros now) const {
  return picture_.FrameAt(now) != shown_;
}

void TImage::Paint(Painter& p) {
  const RgbaImage* frame = picture_.FrameAt(Owner().Application().Now());
  shown_ = frame;
  if (!frame) return;
  if (Stretch)
    p.stretched(*frame, BoundsRect());
  else
    p.image(*frame, Left(), Top(), BoundsRect());
}

// ---- TShape, TLabel, TPaintBox

void TShape::Paint(Painter& p) {
  p.rectangle(BoundsRect(), to_pixel(PenColor), to_pixel(BrushColor));
}

void TLabel::SetCaption(const std::string& text) {
  if (text == caption_ && text_) return;
  caption_ = text;
  text_.reset();
  if (!Owner().Painting()) return;
  Invalidate();
  if (AutoSize) FitToText();
}

void TLabel::FitToText() {
  if (caption_.empty()) return;
  const TextBitmap& t = Text();
  SetBounds(Left(), Top(), t.width, t.height);
}

const TextBitmap& TLabel::Text() {
  if (!text_) text_ = render_text(caption_, FontSpec{std::abs(Font.height), Font.bold});
  return *text_;
}

void TLabel::Paint(Painter& p) {
  if (!Transparent) p.fill(BoundsRect(), to_pixel(Color));
  const TextBitmap& t = Text();
  p.mask(Mask{t.width, t.height, t.bits.data()}, Left(), Top(), to_pixel(Font.color));
}

void TPaintBox::Repaint() {
  Owner().RepaintNow(BoundsRect());
}

// ---- TTimer

TTimer::TTimer(TForm& owner, std::string name)
    : TComponent(owner, std::move(name)), app_(owner.Application()) {
  app_.RegisterTimer(this);
}

TTimer::~TTimer() {
  app_.UnregisterTimer(this);
}

void TTimer::SetEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  if (on) due_ = app_.Now() + Micros{interval_ms_} * 1000;
}

void TTimer::SetInterval(int ms) {
  if (ms == interval_ms_) return;
  interval_ms_ = ms;
  if (enabled_) due_ = app_.Now() + Micros{interval_ms_} * 1000;
}

// ---- TMediaPlayer

void TMediaPlayer::Open() {
  Close();
  const SoundFile file = load_sound_file(FileName);
  length_ = file.length_us;
  port_ = Owner().Application().GetBackend().open_sound(file, FileName);
}

void TMediaPlayer::Play() {
  TApplication& app = Owner().Application();
  if (AppObserver* o = app.Observer()) o->OnPlay(*this);
  if (!port_) throw EMCIDeviceError("No MCI device open");
  if (Playing()) return;
  started_ = app.Now();
  port_->start();
}

bool TMediaPlayer::Playing() const {
  return port_ && started_ && Owner().Application().Now() - *started_ < length_;
}

void TMediaPlayer::Close() {
  port_.reset();
  started_.reset();
}

// ---- TCanvas

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  form_.Scribble(Rect{x1, y1, x2, y2}, to_pixel(Pen.Color), to_pixel(Brush.Color));
}

}  // namespace kv
