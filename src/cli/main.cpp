#include <cstdio>

int main() {
    std::puts("kestrava-cli");
    return 0;
}
