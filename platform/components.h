// The components a form is made of: visual controls painted by their form in
// creation order, and the non-visual timer and media player.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/backend.h"
#include "platform/form_data.h"
#include "platform/gif_codec.h"
#include "platform/surface.h"
#include "platform/text.h"

namespace kv {

class TForm;
class TApplication;

class TComponent {
 public:
  TComponent(TForm& owner, std::string name) : owner_(owner), name_(std::move(name)) {}
  virtual ~TComponent() = default;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  TForm& Owner() const { return owner_; }

 private:
  TForm& owner_;
  std::string name_;
};

class TControl : public TComponent {
 public:
  using TComponent::TComponent;

  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width(); }
  int Height() const { return bounds_.height(); }
  bool Visible() const { return visible_; }
  Rect BoundsRect() const { return bounds_; }

  void SetLeft(int x) { SetBounds(x, Top(), Width(), Height()); }
  void SetTop(int y) { SetBounds(Left(), y, Width(), Height()); }
  void SetBounds(int x, int y, int w, int h);
  void SetVisible(bool v);

  virtual void Paint(Painter& p) = 0;

 protected:
  void Invalidate();

 private:
  Rect bounds_;
  bool visible_ = true;
};

// A picture: the frames of a GIF. Animated pictures show the frame that is
// due at the time of painting.
class TImage;
class TPicture {
 public:
  explicit TPicture(TImage& owner) : owner_(owner) {}

  // Replaces the picture by a file, chosen by its extension. Throws
  // EInvalidGraphic naming the file; the old picture stays on failure.
  void LoadFromFile(const std::string& file_name);
  void Assign(std::shared_ptr<const GifPicture> gif, Micros now);

  int Width() const { return gif_ ? gif_->width : 0; }
  int Height() const { return gif_ ? gif_->height : 0; }
  bool Animated() const { return gif_ && gif_->animated(); }
  const RgbaImage* FrameAt(Micros now) const;
  Micros NextFrameChange(Micros now) const;  // kNever for still pictures

 private:
  TImage& owner_;
  std::shared_ptr<const GifPicture> gif_;
  Micros start_ = 0;
  Micros loop_us_ = 0;
  friend class TImage;
};

class TImage : public TControl {
 public:
  TImage(TForm& owner, std::string name);
  TPicture* Picture() { return &picture_; }
  const TPicture* Picture() const { return &picture_; }
  bool AutoSize = false;
  bool Stretch = false;
  void Paint(Painter& p) override;
  // True when an animation has moved on to another frame since it was painted.
  bool FrameChanged(Micros now) const;

 private:
  friend class TPicture;
  void PictureChanged();
  TPicture picture_;
  mutable const RgbaImage* shown_ = nullptr;
};

class TShape : public TControl {
 public:
  using TControl::TControl;
  TColor BrushColor = clWhite;
  TColor PenColor = clBlack;
  void Paint(Painter& p) override;
};

class TLabel : public TControl {
 public:
  using TControl::TControl;
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& text);
  void Paint(Painter& p) override;

  TColor Color = clBtnFace;
  bool Transparent = false;
  bool AutoSize = true;
  FontDef Font{};

  // Sizes the label to its text (done when the caption changes).
  void FitToText();

 private:
  const TextBitmap& Text();
  std::string caption_;
  std::optional<TextBitmap> text_;
};

// A control with nothing of its own to paint; repainting it repaints whatever
// the form shows in its place.
class TPaintBox : public TControl {
 public:
  using TControl::TControl;
  void Repaint();
  void Paint(Painter&) override {}
};

class TTimer : public TComponent {
 public:
  TTimer(TForm& owner, std::string name);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  // Switching on a running timer keeps its period; switching on a stopped one
  // starts a fresh period, so the first tick comes one interval later.
  void SetEnabled(bool on);
  int Interval() const { return interval_ms_; }
  void SetInterval(int ms);

  std::function<void()> OnTimer;

 private:
  friend class TApplication;
  TApplication& app_;
  bool enabled_ = false;
  int interval_ms_ = 1000;
  Micros due_ = 0;
  std::uint64_t order_ = 0;
};

// One sound clip on a device of its own.
class TMediaPlayer : public TComponent {
 public:
  TMediaPlayer(TForm& owner, std::string name) : TComponent(owner, std::move(name)) {}
  ~TMediaPlayer() override { Close(); }

  std::string FileName;
  bool AutoOpen = false;

  // Throws EMCIDeviceError naming the file when it cannot be opened.
  void Open();
  // Plays from the current position in the background; a clip that has played
  // to its end is rewound first, and one still playing simply goes on.
  void Play();
  void Close();
  bool Playing() const;
  Micros Length() const { return length_; }

 private:
  std::unique_ptr<SoundPort> port_;
  Micros length_ = 0;
  std::optional<Micros> started_;
};

// The form's own canvas: drawing here goes straight onto the window and stays
// there until that part of the window is painted again.
class TCanvas {
 public:
  explicit TCanvas(TForm& form) : form_(form) {}
  struct {
    TColor Color = clBlack;
  } Pen;
  struct {
    TColor Color = clWhite;
  } Brush;
  void Ellipse(int x1, int y1, int x2, int y2);

 private:
  TForm& form_;
};

}  // namespace kv
