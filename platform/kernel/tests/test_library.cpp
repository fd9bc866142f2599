// A library for the kernel's tests of LoadLibrary and GetProcAddress.
extern "C" __attribute__((visibility("default"))) int KernelTestAdd(int a, int b)
{
  return a + b;
}
