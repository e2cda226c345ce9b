// The batch tool; its commands are being written.
#include <cstdio>

int main() {
    std::fprintf(stderr, "usage: halvera-cli info FILE | convert IN OUT | apply IN OUT OP\n");
    return 2;
}
