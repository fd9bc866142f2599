#include "testing/screen_rotation.h"

#include "internal/gdi/screen.h"
#include "testing/ui_harness.h"

bool kvtest::RotateScreen()
{
  gdi_screen::Rotate();
  return RunUntilIdle();
}
