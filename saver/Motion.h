// The solid's drift and spin: one step per pass of the main loop, bouncing
// inside a box in front of the camera.
#pragma once

namespace vyn::saver {

// Direction of travel on each axis, +1 or -1. Starts at (1, 1, 1) and is
// never reset; only StepMotion negates single components.
struct MotionState {
  int dx = 1;
  int dy = 1;
  int dz = 1;
};

extern MotionState motionState;

// Reverses every axis on which the object frame has left its box, then sets
// the frame's velocity and spin for the next Move. Position and orientation
// are left to that Move.
void StepMotion();

}  // namespace vyn::saver
