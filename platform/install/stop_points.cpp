#include "stop_points.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace install {

void StopPoint(const char* step)
{
  const char* wanted = std::getenv("KV_INSTALLER_STOP_AT");
  if (wanted && std::strcmp(wanted, step) == 0)
    _exit(kStoppedExitCode);
}

}  // namespace install
