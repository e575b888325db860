#include <cstdio>

int main()
{
    std::puts("Kelmora: the window is not built yet.");
    return 0;
}
