#!/usr/bin/env python3
"""A D-Bus client that writes the wire protocol itself, so it can send what no binding would:
strings that are no UTF-8, wrong argument types, huge bodies. Used to throw hostile calls at the
one-window service.

  dbus_raw.py fuzz COUNT SEED   random and hostile Activate calls; prints how they were answered
  dbus_raw.py call TEXT         one Activate; prints "ok" or the error name and message
  dbus_raw.py long N            one Activate of N letters x; prints as call does
  dbus_raw.py ping              Peer.Ping to the service; exit 0 when it answers
"""
import binascii
import os
import random
import socket
import struct
import sys
import time

SERVICE = "org.pigmora.Pigmora"
PATH = "/org/pigmora/Pigmora"


def pad(data, n):
    return data + b"\0" * ((-len(data)) % n)


def string(value, offset):
    """A marshalled 's' or 'o' at the given offset (aligned to 4 first)."""
    head = b"\0" * ((-offset) % 4)
    return head + struct.pack("<I", len(value)) + value + b"\0"


class Bus:
    def __init__(self, address):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        target = None
        for part in address.split(";")[0].split(":", 1)[1].split(","):
            key, _, value = part.partition("=")
            if key == "path":
                target = value
            elif key == "abstract":
                target = "\0" + value
        self.sock.connect(target)
        self.sock.sendall(b"\0AUTH EXTERNAL " + binascii.hexlify(str(os.getuid()).encode()) + b"\r\n")
        line = self.sock.recv(4096)
        if not line.startswith(b"OK"):
            raise RuntimeError("authentication refused: %r" % line)
        self.sock.sendall(b"BEGIN\r\n")
        self.serial = 0
        self.buffer = b""
        self.call(b"/org/freedesktop/DBus", b"org.freedesktop.DBus", b"Hello", b"org.freedesktop.DBus", b"", b"")
        self.receive()

    def call(self, path, interface, member, destination, signature, body):
        self.serial += 1
        fields = b""
        for code, kind, value in ((1, b"o", path), (2, b"s", interface), (3, b"s", member),
                                  (6, b"s", destination), (8, b"g", signature)):
            if kind == b"g" and not value:
                continue
            fields = pad(fields, 8)
            fields += bytes([code, 1]) + kind + b"\0"
            if kind == b"g":
                fields += bytes([len(value)]) + value + b"\0"
            else:
                fields += string(value, 16 + len(fields))
        header = struct.pack("<cBBBIII", b"l", 1, 0, 1, len(body), self.serial, len(fields)) + fields
        self.sock.sendall(pad(header, 8) + body)
        return self.serial

    def activate(self, text):
        return self.call(PATH.encode(), SERVICE.encode(), b"Activate", SERVICE.encode(), b"s", string(text, 0))

    def receive(self, timeout=20.0):
        """The next message: (type, reply serial, error name, body)."""
        self.sock.settimeout(timeout)
        while True:
            if len(self.buffer) >= 16:
                body_length, _, fields_length = struct.unpack_from("<III", self.buffer, 4)
                start = 16 + fields_length + ((-(16 + fields_length)) % 8)
                if len(self.buffer) >= start + body_length:
                    kind = self.buffer[1]
                    reply_to, error = 0, b""
                    at = 16
                    while at < 16 + fields_length:
                        at += (-at) % 8
                        code, sig_length = self.buffer[at], self.buffer[at + 1]
                        sig = self.buffer[at + 2:at + 2 + sig_length]
                        at += 3 + sig_length
                        if sig in (b"s", b"o"):
                            at += (-at) % 4
                            (n,) = struct.unpack_from("<I", self.buffer, at)
                            if code == 4:
                                error = self.buffer[at + 4:at + 4 + n]
                            at += 5 + n
                        elif sig == b"g":
                            at += 2 + self.buffer[at]
                        elif sig == b"u":
                            at += (-at) % 4
                            if code == 5:
                                (reply_to,) = struct.unpack_from("<I", self.buffer, at)
                            at += 4
                        else:
                            raise RuntimeError("unexpected header field type %r" % sig)
                    body = self.buffer[start:start + body_length]
                    self.buffer = self.buffer[start + body_length:]
                    return kind, reply_to, error, body
            chunk = self.sock.recv(1 << 20)
            if not chunk:
                raise EOFError("the bus closed the connection")
            self.buffer += chunk

    def wait_reply(self, serial, timeout=20.0):
        end = time.monotonic() + timeout
        while True:
            kind, reply_to, error, body = self.receive(max(0.1, end - time.monotonic()))
            if kind in (2, 3) and reply_to == serial:
                return kind, error, body


def error_text(body):
    if len(body) >= 4:
        (n,) = struct.unpack_from("<I", body, 0)
        return body[4:4 + n].decode("utf-8", "replace")
    return ""


def hostile_texts(rng, fifo):
    """Random and hostile texts, each as bytes that are valid UTF-8."""
    fixed = ["", "#123456", "red", "oklch(0.7 0.1 200)", "no colour", "\x1b]2;pwned\x07\x1b[2J",
             '<img src="%s">' % fifo, '<img src="/dev/zero">', "<b>bold</b><a href='x'>x</a>",
             "\u202e#654321", "x" * (64 * 1024 + 1), "#" + "f" * 70000]
    while True:
        pick = rng.random()
        if pick < 0.3:
            text = rng.choice(fixed)
        elif pick < 0.6:
            text = "".join(chr(rng.randrange(1, 0x80)) for _ in range(rng.randrange(0, 40)))
        elif pick < 0.9:
            text = "".join(chr(rng.choice([rng.randrange(1, 0xD800), rng.randrange(0xE000, 0x110000)]))
                           for _ in range(rng.randrange(0, 40)))
        else:
            text = rng.choice(["rgb(", "#", "oklch(", "color(display-p3 ", "hsl(", "calc("]) + \
                "".join(rng.choice("0123456789 .,%/-e()calcnone") for _ in range(rng.randrange(0, 60)))
        yield text.encode("utf-8", "surrogatepass")


def fuzz(address, count, seed, fifo):
    rng = random.Random(seed)
    bus = Bus(address)
    texts = hostile_texts(rng, fifo)
    answers = {"ok": 0}
    pending = {}
    megabyte = b"\x01" * (1 << 20)
    sent = 0
    while sent < count or pending:
        while sent < count and len(pending) < 64:
            if sent % 1000 == 500:
                serial = bus.activate(megabyte)                       # 1 MB of control characters
            elif sent % 1000 == 700:                                    # wrong types and members
                serial = bus.call(PATH.encode(), SERVICE.encode(), b"Activate", SERVICE.encode(), b"i",
                                  struct.pack("<i", 7))
            elif sent % 1000 == 900:
                serial = bus.call(PATH.encode(), SERVICE.encode(), b"Nope", SERVICE.encode(), b"", b"")
            else:
                serial = bus.activate(next(texts))
            pending[serial] = True
            sent += 1
        kind, reply_to, error, _ = bus.receive()
        if reply_to in pending:
            del pending[reply_to]
            key = "ok" if kind == 2 else error.decode()
            answers[key] = answers.get(key, 0) + 1
    # Strings that are no UTF-8, as the raw protocol can send them: the bus itself refuses them
    # (and drops the sender); the service must not notice.
    for bad in (b"\xff\xfe", b"#12345\xc3", b"\xed\xa0\x80", b"\xc0\xafx"):
        try:
            sink = Bus(address)
            sink.wait_reply(sink.activate(bad), 5)
        except (EOFError, OSError):
            pass
    return answers


def main():
    address = os.environ["DBUS_SESSION_BUS_ADDRESS"]
    if sys.argv[1] == "fuzz":
        answers = fuzz(address, int(sys.argv[2]), int(sys.argv[3]), sys.argv[4])
        print(" ".join("%s=%d" % kv for kv in sorted(answers.items())))
        return 0 if sum(answers.values()) == int(sys.argv[2]) else 1
    bus = Bus(address)
    if sys.argv[1] == "ping":
        serial = bus.call(PATH.encode(), b"org.freedesktop.DBus.Peer", b"Ping", SERVICE.encode(), b"", b"")
        kind, _, _ = bus.wait_reply(serial, 5)
        return 0 if kind == 2 else 1
    text = b"x" * int(sys.argv[2]) if sys.argv[1] == "long" else sys.argv[2].encode("utf-8", "surrogateescape")
    kind, error, body = bus.wait_reply(bus.activate(text),
                                       float(os.environ.get("DBUS_RAW_TIMEOUT", "20")))
    print("ok" if kind == 2 else "%s: %s" % (error.decode(), error_text(body)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
