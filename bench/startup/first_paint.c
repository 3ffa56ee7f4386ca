/*
 * first_paint: times a window program from its process start to the moment
 * the X server shows a given picture, without touching the program.
 *
 * The tool watches the root window with the DAMAGE extension. After every
 * change it reads back the part of the screen that matters (MIT-SHM) and
 * compares it with the wanted picture. Times count from just before fork().
 *
 *   first_paint grab OUT.ppm -- PROGRAM ARGS...
 *       Starts the program, waits until the screen has been still for 1.5 s,
 *       saves the root window as OUT.ppm and ends the program.
 *
 *   first_paint time BEFORE.ppm AFTER.ppm RUNS -- PROGRAM ARGS...
 *       The pixels that differ between BEFORE and AFTER are the ones to wait
 *       for. Each of RUNS starts the program and waits until at least 97 % of
 *       those pixels show their AFTER colour (exact match), then ends the
 *       program. Prints per run the time of the first change of that screen
 *       region (the window appears) and of the match, then minimum and
 *       median.
 *
 * The time of a match is the moment the damage notification arrived whose
 * read-back matched: the picture was on the screen by then. The read-back of
 * the region takes a few milliseconds of the server's time; it happens only
 * after a change, never in a busy loop.
 */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xdamage.h>

#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static Display *dpy;
static Window root;
static int screenW, screenH;
static int damageEvent, damageError;

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static void die(const char *msg)
{
    fprintf(stderr, "first_paint: %s\n", msg);
    exit(2);
}

/* ---- images: packed 0x00RRGGBB ------------------------------------------ */

typedef struct {
    int w, h;
    uint32_t *px;
} Image;

static int mask_shift(unsigned long m)
{
    int s = 0;
    while (m && !(m & 1)) {
        m >>= 1;
        ++s;
    }
    return s;
}

static uint32_t to_rgb(XImage *xi, unsigned long p)
{
    const uint32_t r = (p & xi->red_mask) >> mask_shift(xi->red_mask);
    const uint32_t g = (p & xi->green_mask) >> mask_shift(xi->green_mask);
    const uint32_t b = (p & xi->blue_mask) >> mask_shift(xi->blue_mask);
    return (r << 16) | (g << 8) | b;
}

static int save_ppm(const char *path, const Image *im)
{
    FILE *f = fopen(path, "wb");
    if (!f)
        return -1;
    fprintf(f, "P6\n%d %d\n255\n", im->w, im->h);
    for (int i = 0; i < im->w * im->h; ++i) {
        unsigned char c[3] = {im->px[i] >> 16, im->px[i] >> 8, im->px[i]};
        fwrite(c, 1, 3, f);
    }
    return fclose(f);
}

static int load_ppm(const char *path, Image *im)
{
    FILE *f = fopen(path, "rb");
    int maxv;
    if (!f || fscanf(f, "P6 %d %d %d", &im->w, &im->h, &maxv) != 3 || maxv != 255)
        return -1;
    fgetc(f);
    im->px = malloc(sizeof(uint32_t) * im->w * im->h);
    for (int i = 0; i < im->w * im->h; ++i) {
        unsigned char c[3];
        if (fread(c, 1, 3, f) != 3)
            return -1;
        im->px[i] = (c[0] << 16) | (c[1] << 8) | c[2];
    }
    fclose(f);
    return 0;
}

/* ---- read-back of a screen region through shared memory ----------------- */

typedef struct {
    XImage *xi;
    XShmSegmentInfo shm;
} Grabber;

static void grabber_init(Grabber *g, int w, int h)
{
    Visual *vis = DefaultVisual(dpy, DefaultScreen(dpy));
    g->xi = XShmCreateImage(dpy, vis, DefaultDepth(dpy, DefaultScreen(dpy)), ZPixmap, NULL, &g->shm, w, h);
    if (!g->xi)
        die("XShmCreateImage failed");
    g->shm.shmid = shmget(IPC_PRIVATE, g->xi->bytes_per_line * h, IPC_CREAT | 0600);
    g->shm.shmaddr = g->xi->data = shmat(g->shm.shmid, NULL, 0);
    g->shm.readOnly = False;
    if (!XShmAttach(dpy, &g->shm))
        die("XShmAttach failed");
    XSync(dpy, False);
    shmctl(g->shm.shmid, IPC_RMID, NULL);
}

static void grabber_read(Grabber *g, int x, int y)
{
    if (!XShmGetImage(dpy, root, g->xi, x, y, AllPlanes))
        die("XShmGetImage failed");
}

/* ---- the program under test ----------------------------------------------- */

static pid_t start(char **argv)
{
    const pid_t pid = fork();
    if (pid == 0) {
        close(ConnectionNumber(dpy));
        execvp(argv[0], argv);
        _exit(127);
    }
    if (pid < 0)
        die("fork failed");
    return pid;
}

static void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, NULL, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, NULL, 0);
}

/* Waits for the next damage notification up to timeout; drains the queue and
 * takes the damage away. Returns 1 on damage, 0 on timeout. */
static int wait_damage(Damage damage, double timeoutMs)
{
    const double end = now_ms() + timeoutMs;
    for (;;) {
        int got = 0;
        while (XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            /* Notifications of an earlier run's damage object may still be
             * queued; they say nothing about this run. */
            if (ev.type == damageEvent + XDamageNotify && ((XDamageNotifyEvent *)&ev)->damage == damage)
                got = 1;
        }
        if (got) {
            XDamageSubtract(dpy, damage, None, None);
            XFlush(dpy);
            return 1;
        }
        const double left = end - now_ms();
        if (left <= 0)
            return 0;
        struct pollfd p = {ConnectionNumber(dpy), POLLIN, 0};
        poll(&p, 1, (int)(left + 1));
    }
}

static int cmp_double(const void *a, const void *b)
{
    const double x = *(const double *)a, y = *(const double *)b;
    return (x > y) - (x < y);
}

static int do_grab(const char *out, char **argv)
{
    Damage damage = XDamageCreate(dpy, root, XDamageReportNonEmpty);
    XSync(dpy, False);
    const pid_t pid = start(argv);
    const double t0 = now_ms();
    while (now_ms() - t0 < 20000) {
        if (!wait_damage(damage, 1500) && now_ms() - t0 > 1500)
            break;
    }
    Grabber g;
    grabber_init(&g, screenW, screenH);
    grabber_read(&g, 0, 0);
    Image im = {screenW, screenH, malloc(sizeof(uint32_t) * screenW * screenH)};
    for (int y = 0; y < screenH; ++y)
        for (int x = 0; x < screenW; ++x)
            im.px[y * screenW + x] = to_rgb(g.xi, XGetPixel(g.xi, x, y));
    stop(pid);
    XDamageDestroy(dpy, damage);
    return save_ppm(out, &im) == 0 ? 0 : 2;
}

static int do_time(const char *beforePath, const char *afterPath, int runs, char **argv)
{
    Image before, after;
    if (load_ppm(beforePath, &before) || load_ppm(afterPath, &after) || before.w != after.w ||
        before.h != after.h || after.w != screenW || after.h != screenH)
        die("reference pictures missing or not of the screen's size");

    /* The pixels to wait for and their bounding box. */
    int x0 = screenW, y0 = screenH, x1 = -1, y1 = -1, count = 0;
    for (int y = 0; y < screenH; ++y)
        for (int x = 0; x < screenW; ++x)
            if (before.px[y * screenW + x] != after.px[y * screenW + x]) {
                ++count;
                if (x < x0)
                    x0 = x;
                if (y < y0)
                    y0 = y;
                if (x > x1)
                    x1 = x;
                if (y > y1)
                    y1 = y;
            }
    if (!count)
        die("the two reference pictures are equal");
    const int bw = x1 - x0 + 1, bh = y1 - y0 + 1;
    printf("waiting for %d changed pixels in %dx%d+%d+%d\n", count, bw, bh, x0, y0);

    Grabber g;
    grabber_init(&g, bw, bh);
    double *firstChange = calloc(runs, sizeof(double)), *matched = calloc(runs, sizeof(double));
    char *idle = malloc((size_t)g.xi->bytes_per_line * bh);

    for (int r = 0; r < runs; ++r) {
        /* The region as it is before the start: the first read-back that
         * differs from it is the window appearing. */
        grabber_read(&g, x0, y0);
        memcpy(idle, g.xi->data, (size_t)g.xi->bytes_per_line * bh);
        Damage damage = XDamageCreate(dpy, root, XDamageReportNonEmpty);
        XSync(dpy, False);
        const double t0 = now_ms();
        const pid_t pid = start(argv);
        double first = -1, hit = -1;
        int frames = 0;
        while (hit < 0 && now_ms() - t0 < 30000) {
            if (!wait_damage(damage, 1000))
                continue;
            const double t = now_ms() - t0;
            ++frames;
            grabber_read(&g, x0, y0);
            if (first < 0 && memcmp(idle, g.xi->data, (size_t)g.xi->bytes_per_line * bh))
                first = t;
            int good = 0;
            for (int y = 0; y < bh; ++y)
                for (int x = 0; x < bw; ++x) {
                    const int i = (y + y0) * screenW + x + x0;
                    if (before.px[i] != after.px[i] && to_rgb(g.xi, XGetPixel(g.xi, x, y)) == after.px[i])
                        ++good;
                }
            if (good >= count * 0.97)
                hit = t;
        }
        stop(pid);
        XDamageDestroy(dpy, damage);
        XSync(dpy, False);
        usleep(300000);
        if (hit < 0)
            die("the picture did not appear within 30 s");
        firstChange[r] = first;
        matched[r] = hit;
        printf("run %2d: window appears %7.1f ms, preview painted %7.1f ms (%d screen changes read)\n", r + 1,
               first, hit, frames);
        fflush(stdout);
    }
    qsort(firstChange, runs, sizeof(double), cmp_double);
    qsort(matched, runs, sizeof(double), cmp_double);
    printf("window appears:  min %7.1f ms  median %7.1f ms\n", firstChange[0], firstChange[runs / 2]);
    printf("preview painted: min %7.1f ms  median %7.1f ms  (%d runs)\n", matched[0], matched[runs / 2],
           runs);
    return 0;
}

int main(int argc, char **argv)
{
    int sep = 0;
    for (int i = 1; i < argc; ++i)
        if (!strcmp(argv[i], "--")) {
            sep = i;
            break;
        }
    if (!sep || sep + 1 >= argc || sep < 2)
        die("usage: first_paint grab OUT.ppm -- PROGRAM ARGS... | time BEFORE.ppm AFTER.ppm RUNS -- PROGRAM "
            "ARGS...");
    dpy = XOpenDisplay(NULL);
    if (!dpy)
        die("cannot open the display");
    root = DefaultRootWindow(dpy);
    screenW = DisplayWidth(dpy, DefaultScreen(dpy));
    screenH = DisplayHeight(dpy, DefaultScreen(dpy));
    if (!XDamageQueryExtension(dpy, &damageEvent, &damageError))
        die("the X server has no DAMAGE extension");
    if (!XShmQueryExtension(dpy))
        die("the X server has no MIT-SHM extension");
    signal(SIGPIPE, SIG_IGN);

    if (!strcmp(argv[1], "grab") && sep == 3)
        return do_grab(argv[2], argv + sep + 1);
    if (!strcmp(argv[1], "time") && sep == 5)
        return do_time(argv[2], argv[3], atoi(argv[4]) > 0 ? atoi(argv[4]) : 1, argv + sep + 1);
    die("unknown command");
    return 2;
}
