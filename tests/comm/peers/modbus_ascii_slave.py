#!/usr/bin/python3
"""A Modbus ASCII slave on Debian's pymodbus, as an independent peer for the protocol tests.

usage: modbus_ascii_slave.py DEVICE BAUD STATION [ADDRESS=VALUE | !ADDRESS]...
Holding registers 0 to 1599 and 1200h, all 0 unless set; refused addresses are left out of the
store, so pymodbus answers them with exception 02. Prints "ready" once the device is open.
"""
import asyncio
import logging
import sys

from pymodbus.datastore import ModbusServerContext, ModbusSlaveContext, ModbusSparseDataBlock
from pymodbus.framer.ascii_framer import ModbusAsciiFramer
from pymodbus.server import StartAsyncSerialServer

logging.disable(logging.CRITICAL)


async def serve(context, device, baud):
    server = await StartAsyncSerialServer(context=context, framer=ModbusAsciiFramer, port=device,
                                          baudrate=baud, bytesize=8, parity="N", stopbits=1,
                                          defer_start=True)
    await server.start()
    if server.transport is None:
        print("cannot open", device, flush=True)
        return 1
    print("ready", flush=True)
    await server.serve_forever()
    return 0


def main():
    device, baud, station = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    values = {address: 0 for address in range(1600)}
    values[0x1200] = 0
    for arg in sys.argv[4:]:
        if arg.startswith("!"):
            values.pop(int(arg[1:], 0), None)
        else:
            address, value = arg.split("=")
            values[int(address, 0)] = int(value, 0)
    slave = ModbusSlaveContext(hr=ModbusSparseDataBlock(values), zero_mode=True)
    context = ModbusServerContext(slaves={station: slave}, single=False)
    return asyncio.run(serve(context, device, baud))


if __name__ == "__main__":
    sys.exit(main())
