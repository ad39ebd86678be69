#include <cstdio>

int main() {
    std::puts("quiloctl");
    return 0;
}
