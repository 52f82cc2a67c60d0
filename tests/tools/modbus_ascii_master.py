#!/usr/bin/python3
"""Modbus ASCII master for the simulated drive: reads and writes holding registers with Debian's pymodbus.

usage: modbus_ascii_master.py PORT BAUD DATA PARITY STOP STATION COMMAND...
  COMMAND: read ADDRESS COUNT | write ADDRESS VALUE   (numbers decimal or 0x-hex)
Prints one line per command: "read A: v1 v2 ..." / "write A: ok" / "... exception N" / "... no reply".
"""
import logging
import sys

from pymodbus.client import ModbusSerialClient
from pymodbus.framer.ascii_framer import ModbusAsciiFramer

logging.disable(logging.CRITICAL)


def main():
    port, baud, data, parity, stop, station = sys.argv[1:7]
    client = ModbusSerialClient(port, framer=ModbusAsciiFramer, baudrate=int(baud), bytesize=int(data),
                                parity=parity, stopbits=int(stop), retries=0)
    client.params.timeout = 0.5  # this pymodbus release drops the timeout given to the constructor
    if not client.connect():
        print("cannot open", port)
        return 1
    args = sys.argv[7:]
    while args:
        op, address, arg = args[0], int(args[1], 0), int(args[2], 0)
        args = args[3:]
        try:
            if op == "read":
                rr = client.read_holding_registers(address, arg, slave=int(station))
            else:
                rr = client.write_register(address, arg, slave=int(station))
        except Exception:  # pymodbus raises on silence
            print(f"{op} {address}: no reply")
            continue
        if rr.isError():
            code = getattr(rr, "exception_code", None)
            print(f"{op} {address}: " + (f"exception {code}" if code else "no reply"))
        elif op == "read":
            print(f"read {address}: " + " ".join(str(v) for v in rr.registers))
        else:
            print(f"write {address}: ok")
    client.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
