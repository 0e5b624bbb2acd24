"""An FTP server that misbehaves on purpose, in the way argv[1] names: see where MODE is read.

Directories list what LISTINGS holds, files hold "ok" unless FILES says otherwise. Prints its port
as the first line; serves sessions side by side until killed.
"""
import socket
import sys
import threading
import time

MODE = sys.argv[1]


def unix(kind, size, name):
    return b"%s 1 owner group %d Jan 01 00:00 %s\r\n" % (kind, size, name)


FILE, DIR = b"-rw-r--r--", b"drwxr-xr-x"
GOOD = unix(FILE, 2, b"good.txt")
LISTINGS = {
    ("drop", "/top"): [unix(FILE, 100000, b"big.bin")],
    ("refusesub", "/top"): [unix(DIR, 0, b"sub"), unix(DIR, 0, b"sub2"), GOOD],
    ("refusesub", "/top/sub2"): [unix(FILE, 2, b"in.c")],
    ("single", "/top"): [unix(DIR, 0, b"a"), unix(DIR, 0, b"b"), unix(DIR, 0, b"c")],
    ("cut", "/top"): [unix(FILE, 6, b"six.txt"), unix(FILE, 3, b"told.txt"),
                      unix(FILE, 2, b"whole.txt"), unix(DIR, 0, b"sub")],
    ("cut", "/top/sub"): [unix(FILE, 2, b"lost.txt")[:3]],
    ("nat", "/top"): [GOOD],
}
LISTINGS.update({("single", "/top/" + sub): [unix(FILE, 2, b"in.c")] for sub in "abc"})
# What RETR sends and adds to its 150 reply.
FILES = {"/top/six.txt": (b"abc", b""), "/top/told.txt": (b"abc", b" (6 bytes)")}
FILES = FILES if MODE == "cut" else {}
REPLIES = {"USER": b"331 Password please", "PASS": b"230 Logged in", "TYPE": b"200 Okay",
           "QUIT": b"221 Bye"}


def send(conn, data):
    conn.sendall((data if isinstance(data, bytes) else data.encode()) + b"\r\n")


def transfer(conn, listener, verb, path):
    """Sends the data of LIST or RETR; False when the session is to end."""
    if verb == "LIST":
        listing = [unix(DIR, 0, b"d")] if MODE == "deep" else LISTINGS.get((MODE, path), [])
        data, told = b"".join(listing), b""
    else:
        data, told = FILES.get(path, (b"ok", b""))
    send(conn, b"150 Here it comes" + told)
    link, _ = listener.accept()
    listener.close()
    dropped = MODE == "drop" and verb == "RETR"
    link.sendall(b"x" * 50000 if dropped else data)
    link.close()
    if not dropped:
        send(conn, "226 Done")
    return not dropped


def session(conn):
    send(conn, "220-Welcome\r\n220-to the server\r\n220 Ready")
    listener, cwd = None, "/"
    for raw in conn.makefile("rb"):
        verb, _, arg = raw.rstrip(b"\r\n").decode(errors="replace").partition(" ")
        path = arg if arg.startswith("/") else cwd.rstrip("/") + "/" + arg
        if verb == "TYPE" and MODE == "notype":
            send(conn, "504 Only ASCII here")
        elif verb in REPLIES:
            send(conn, REPLIES[verb])
            if verb == "QUIT":
                return
        elif verb == "CWD":
            refused = MODE == "refusesub" and path.endswith("/sub")
            cwd = cwd if refused else path
            send(conn, "550 No way" if refused else "250 Okay")
        elif verb == "PWD":
            send(conn, '257 "%s" is current' % cwd)
        elif verb == "PASV":
            listener = socket.create_server(("127.0.0.1", 0), backlog=1)
            port, last = listener.getsockname()[1], 2 if MODE == "nat" else 1
            send(conn, "227 Passive (127,0,0,%d,%d,%d)" % (last, port // 256, port % 256))
        elif verb in ("LIST", "RETR"):
            if not transfer(conn, listener, verb, path if verb == "RETR" else cwd):
                return
        else:
            send(conn, "502 Not here")


BUSY = threading.Lock()


def handle(conn):
    if MODE == "stall":
        time.sleep(3600)
    if MODE == "busy" or (MODE == "single" and not BUSY.acquire(blocking=False)):
        send(conn, "421 Too many users, try later")
    else:
        try:
            session(conn)
        except OSError:
            pass
        if MODE == "single":
            BUSY.release()
    conn.close()


SERVER = socket.create_server(("127.0.0.1", 0), backlog=4)
print(SERVER.getsockname()[1], flush=True)
while True:
    threading.Thread(target=handle, args=(SERVER.accept()[0],), daemon=True).start()
