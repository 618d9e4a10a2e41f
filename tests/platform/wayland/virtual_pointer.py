# SPDX-License-Identifier: MIT
# A pointer device made through wlroots' virtual pointer protocol, for the Wayland tests: a headless
# sway has no pointer until a client makes one. The few requests needed are written on the socket
# directly, so no protocol code has to be generated for the tests.
import os
import socket
import struct
import time


class VirtualPointer:
    """A pointer of the compositor's own (wlroots' virtual pointer protocol), spoken on the wire
    directly: the seat of a headless sway has no pointer until one is made."""

    def __init__(self):
        path = os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ["WAYLAND_DISPLAY"])
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(path)
        self.next_id = 2
        self.buffer = b""
        registry = self.new_id()
        self.send(1, 1, struct.pack("<I", registry))  # wl_display.get_registry
        globals_ = {}
        for obj, opcode, body in self.roundtrip():
            if obj == registry and opcode == 0:
                name, = struct.unpack_from("<I", body)
                length, = struct.unpack_from("<I", body, 4)
                interface = body[8:8 + length - 1].decode()
                version, = struct.unpack_from("<I", body, 8 + (length + 3) // 4 * 4)
                globals_[interface] = (name, version)
        if "zwlr_virtual_pointer_manager_v1" not in globals_:
            raise RuntimeError("the compositor offers no virtual pointer")
        manager = self.bind(registry, globals_, "zwlr_virtual_pointer_manager_v1", 1)
        self.pointer = self.new_id()
        self.send(manager, 0, struct.pack("<II", 0, self.pointer))  # create_virtual_pointer(no seat)
        self.roundtrip()

    def new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def bind(self, registry, globals_, interface, version):
        name, _ = globals_[interface]
        text = interface.encode() + b"\0"
        padded = text + b"\0" * (-len(text) % 4)
        new = self.new_id()
        self.send(registry, 0, struct.pack("<I", name) + struct.pack("<I", len(text)) + padded
                  + struct.pack("<II", version, new))
        return new

    def send(self, obj, opcode, body):
        self.sock.sendall(struct.pack("<II", obj, (8 + len(body)) << 16 | opcode) + body)

    def roundtrip(self):
        callback = self.new_id()
        self.send(1, 0, struct.pack("<I", callback))  # wl_display.sync
        events = []
        while True:
            while len(self.buffer) >= 8:
                obj, word = struct.unpack_from("<II", self.buffer)
                size = word >> 16
                if len(self.buffer) < size:
                    break
                events.append((obj, word & 0xFFFF, self.buffer[8:size]))
                self.buffer = self.buffer[size:]
                if obj == 1 and word & 0xFFFF == 0:
                    raise RuntimeError("the compositor refused a request")
                if obj == callback:
                    return events
            self.buffer += self.sock.recv(4096)

    def move_to(self, x, y, width, height):
        self.send(self.pointer, 1, struct.pack("<IIIII", self.now(), x, y, width, height))
        self.send(self.pointer, 4, b"")
        self.roundtrip()

    def click(self):
        for state in (1, 0):
            self.send(self.pointer, 2, struct.pack("<III", self.now(), 0x110, state))  # BTN_LEFT
            self.send(self.pointer, 4, b"")
            self.roundtrip()
            time.sleep(0.1)

    @staticmethod
    def now():
        return int(time.monotonic() * 1000) & 0xFFFFFFFF
