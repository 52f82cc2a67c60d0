/* A Modbus RTU slave on libmodbus, as an independent peer for the protocol tests: holding
 * registers 0 to 12FFh, all 0 unless set; refused addresses are answered with exception 02.
 *
 * usage: modbus_rtu_slave DEVICE BAUD STATION [ADDRESS=VALUE | !ADDRESS]...
 * Prints "ready" once the device is open; ends when the line hangs up or on SIGTERM.
 */
#include <modbus.h>

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define REGISTERS 0x1300

static int parse(const char *text, long *value)
{
    char *end = NULL;
    *value = strtol(text, &end, 0);
    return end != text && *end == '\0' && *value >= 0 && *value <= 0xFFFF;
}

int main(int argc, char **argv)
{
    static unsigned char refused[REGISTERS];
    long baud = 0, station = 0;
    if (argc < 4 || !parse(argv[2], &baud) || !parse(argv[3], &station)) {
        fprintf(stderr, "usage: %s DEVICE BAUD STATION [ADDRESS=VALUE | !ADDRESS]...\n", argv[0]);
        return 2;
    }
    modbus_mapping_t *map = modbus_mapping_new_start_address(0, 0, 0, 0, 0, REGISTERS, 0, 0);
    modbus_t *ctx = modbus_new_rtu(argv[1], (int)baud, 'N', 8, 1);
    if (!map || !ctx || modbus_set_slave(ctx, (int)station) != 0) {
        fprintf(stderr, "cannot set up the slave: %s\n", modbus_strerror(errno));
        return 1;
    }
    for (int i = 4; i < argc; ++i) {
        long address = 0, value = 0;
        char *equals = strchr(argv[i], '=');
        if (argv[i][0] == '!' && parse(argv[i] + 1, &address) && address < REGISTERS) {
            refused[address] = 1;
            continue;
        }
        if (equals) {
            *equals = '\0';
            if (parse(argv[i], &address) && parse(equals + 1, &value) && address < REGISTERS) {
                map->tab_registers[address] = (uint16_t)value;
                continue;
            }
        }
        fprintf(stderr, "bad argument: %s\n", argv[i]);
        return 2;
    }
    if (modbus_connect(ctx) != 0) {
        fprintf(stderr, "cannot open %s: %s\n", argv[1], modbus_strerror(errno));
        return 1;
    }
    printf("ready\n");
    fflush(stdout);

    uint8_t query[MODBUS_RTU_MAX_ADU_LENGTH];
    const int header = modbus_get_header_length(ctx);
    for (;;) {
        const int rc = modbus_receive(ctx, query);
        if (rc == 0)
            continue; /* another station's request */
        if (rc < 0) {
            if (errno >= MODBUS_ENOBASE)
                continue; /* a damaged request: a slave stays silent */
            break;
        }
        const int function = query[header];
        const int address = (query[header + 1] << 8) | query[header + 2];
        const int count = function == MODBUS_FC_READ_HOLDING_REGISTERS ? (query[header + 3] << 8) | query[header + 4] : 1;
        int refuse = 0;
        for (int a = address; a < address + count && a < REGISTERS; ++a)
            refuse |= refused[a];
        if (refuse)
            modbus_reply_exception(ctx, query, MODBUS_EXCEPTION_ILLEGAL_DATA_ADDRESS);
        else
            modbus_reply(ctx, query, rc, map);
    }
    modbus_close(ctx);
    modbus_free(ctx);
    modbus_mapping_free(map);
    return 0;
}
