// The look both windows share: every label is lime bold text on opaque black.
#pragma once

#include "platform/form_data.h"

inline constexpr kv::FontDef kLabelFont{-13, true, kv::clLime};

constexpr kv::ComponentDef lime_label(const char* name, kv::Box b, const char* caption,
                                      kv::FontDef font = kLabelFont) {
  return kv::label(name, b, caption, font, kv::clBlack);
}
