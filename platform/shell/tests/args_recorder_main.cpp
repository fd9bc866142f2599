// A host program for the shell's tests: writes its arguments (without its own name), each
// followed by a zero byte, to "args.bin" in the device root named by KORVEX_DEVICE_ROOT.
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
  const char* root = std::getenv("KORVEX_DEVICE_ROOT");
  if (root == nullptr) {
    return 2;
  }
  std::FILE* file = std::fopen((std::string(root) + "/args.bin").c_str(), "wb");
  if (file == nullptr) {
    return 3;
  }
  for (int i = 1; i < argc; ++i) {
    std::fwrite(argv[i], 1, std::string(argv[i]).size() + 1, file);
  }
  std::fclose(file);
  return 0;
}
