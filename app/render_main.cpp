#include <cstdio>

int main() {
  std::puts("brenlo-render: not yet available");
  return 2;
}
