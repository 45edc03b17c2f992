// The results screen's variable: where the scrolling credit line stands.
#pragma once

struct Unit2 {
  int creditox = -200;
};
