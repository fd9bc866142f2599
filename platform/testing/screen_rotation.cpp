#include "testing/screen_rotation.h"

#include "internal/gdi/screen.h"

void kvtest::RotateScreen()
{
  gdi_screen::Rotate();
}
