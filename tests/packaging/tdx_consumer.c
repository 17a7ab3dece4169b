/* A lab's own program on the installed libtdx: smooths three samples and
 * prints them. */
#include <kav7/tdx.h>
#include <stdio.h>

int main(void) {
    uint16_t data[] = {0, 3, 6, 9, 12};
    Gliss(1, data, 4);
    printf("%u %u %u %u %u\n", data[0], data[1], data[2], data[3], data[4]);
    return 0;
}
