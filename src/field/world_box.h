// The box creatures leave the world by: one that walks or flies out of it is gone.
#pragma once

struct WorldBox {
  float left;
  float top;
  float right;
  float bottom;

  constexpr bool contains(float x, float y) const {
    return !(x > right || y > bottom || x < left || y < top);
  }
};

inline constexpr WorldBox worldBox{-100.0f, -100.0f, 740.0f, 660.0f};
