/* The physical limit of a full-screen copy on this machine: the best time of
 * memcpy over one 32-bit picture of W x H pixels (default 3840 x 2160).
 * Prints "<milliseconds> <GB/s copied>". Built and run by bench/ui_bench.py. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static double now(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec + (double)ts.tv_nsec / 1e9;
}

int main(int argc, char** argv) {
    size_t w = argc > 2 ? strtoul(argv[1], NULL, 10) : 3840, h = argc > 2 ? strtoul(argv[2], NULL, 10) : 2160;
    size_t bytes = w * h * 4;
    unsigned char* src = malloc(bytes);
    unsigned char* dst = malloc(bytes);
    double best = 1e9;
    int i;
    if (!src || !dst) return 1;
    memset(src, 0x5a, bytes);
    memset(dst, 0, bytes);
    for (i = 0; i < 30; ++i) {
        double t = now();
        memcpy(dst, src, bytes);
        t = now() - t;
        if (t < best) best = t;
        src[i] = dst[bytes - 1 - i]; /* keeps the copies observable */
    }
    printf("%.3f %.2f\n", best * 1e3, (double)bytes / best / 1e9);
    return 0;
}
