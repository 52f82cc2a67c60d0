/* Rates outside the termios table (14400, 56000, 128000, 256000) go through termios2. The
 * kernel's termios2 header clashes with the C library's termios, hence a file of its own. */
#include <asm/ioctls.h>
#include <asm/termbits.h>

int ioctl(int fd, unsigned long request, ...);

int serialSetCustomRate(int fd, int rate)
{
    struct termios2 tio;
    if (ioctl(fd, TCGETS2, &tio) != 0)
        return -1;
    tio.c_cflag &= ~CBAUD;
    tio.c_cflag |= BOTHER;
    tio.c_ispeed = (speed_t)rate;
    tio.c_ospeed = (speed_t)rate;
    tio.c_cflag &= ~(CBAUD << IBSHIFT);
    tio.c_cflag |= BOTHER << IBSHIFT;
    return ioctl(fd, TCSETS2, &tio);
}

int serialCurrentRate(int fd)
{
    struct termios2 tio;
    if (ioctl(fd, TCGETS2, &tio) != 0)
        return -1;
    return (int)tio.c_ospeed;
}
