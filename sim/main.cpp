#include <cstdio>

int main() {
  std::puts("ejscope");
  return 0;
}
