"""A scripted FTP server that misbehaves on purpose, one way per MODE.

unsafe: lists entries named "..", ".", "a/b" and "../up" besides good.txt.
drop:   drops both connections in the middle of sending big.bin.
stall:  accepts connections and never answers.
refuse: refuses every CWD with 550.
refusesub: lists subdirectories "sub", which it refuses to enter, and "sub2" (holding in.c),
        besides good.txt.
cut:    cuts the data link short and still says 226: six.txt (listed as 6 bytes, 3 sent),
        told.txt (listed as 3, announced as 6 bytes, 3 sent), the listing of sub (3 bytes);
        whole.txt arrives.
dos:    lists in the MS-DOS form: a directory sub (holding in.c), " lead.c" and add.c.
garbage: a listing none of whose lines can be read.
busy:   greets with 421.
nat:    gives 127.0.0.2 as its passive address but listens on 127.0.0.1 only.
single: serves one session at a time and greets a second one with 421; lists subdirectories
        a, b and c, each holding in.c.
Files hold "ok" unless the mode says otherwise. Prints its port as the first line; serves
sessions side by side until killed.
"""
import socket
import sys
import threading
import time

MODE = sys.argv[1]


def unix(kind, size, name):
    return b"%s 1 owner group %d Jan 01 00:00 %s\r\n" % (kind, size, name)


FILE, DIR = b"-rw-r--r--", b"drwxr-xr-x"
LISTINGS = {
    ("unsafe", "/top"): [unix(FILE, 4, b".."), unix(DIR, 0, b".."), unix(DIR, 0, b"."),
                         unix(FILE, 4, b"a/b"), unix(DIR, 0, b"../up"), unix(FILE, 2, b"good.txt")],
    ("drop", "/top"): [unix(FILE, 100000, b"big.bin")],
    ("refusesub", "/top"): [unix(DIR, 0, b"sub"), unix(DIR, 0, b"sub2"),
                            unix(FILE, 2, b"good.txt")],
    ("refusesub", "/top/sub2"): [unix(FILE, 2, b"in.c")],
    ("single", "/top"): [unix(DIR, 0, b"a"), unix(DIR, 0, b"b"), unix(DIR, 0, b"c")],
    ("cut", "/top"): [unix(FILE, 6, b"six.txt"), unix(FILE, 3, b"told.txt"),
                      unix(FILE, 2, b"whole.txt"), unix(DIR, 0, b"sub")],
    ("cut", "/top/sub"): [unix(FILE, 2, b"lost.txt")],
    ("dos", "/top"): [b"01-15-24  10:30AM       <DIR>          sub\r\n",
                      b"01-15-24  10:31PM                    2  lead.c\r\n",
                      b"01-15-2024  09:05                    2 add.c\r\n"],
    ("dos", "/top/sub"): [b"01-15-24  10:30AM                    2 in.c\r\n"],
    ("garbage", "/top"): [b"this is no listing\r\n", b"nor is this\r\n"],
    ("nat", "/top"): [unix(FILE, 2, b"good.txt")],
}
LISTINGS.update({("single", "/top/" + sub): [unix(FILE, 2, b"in.c")] for sub in "abc"})
CUT = {"/top/six.txt": (b"abc", b""), "/top/told.txt": (b"abc", b" (6 bytes)")}


def send(conn, data):
    conn.sendall(data if isinstance(data, bytes) else data.encode())


def data_channel(conn):
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    port = listener.getsockname()[1]
    host = "127,0,0,2" if MODE == "nat" else "127,0,0,1"
    send(conn, "227 Entering Passive Mode ({},{},{})\r\n".format(host, port // 256, port % 256))
    return listener


def resolve(cwd, arg):
    path = arg if arg.startswith(b"/") else cwd.rstrip(b"/") + b"/" + arg
    return path.decode(errors="replace")


def transfer(conn, listener, verb, path):
    """Sends the data of LIST or RETR; False when the session is to end."""
    if verb == "LIST":
        data, told = b"".join(LISTINGS.get((MODE, path), [])), b""
        if MODE == "cut" and path == "/top/sub":
            data = data[:3]
    else:
        data, told = CUT.get(path, (b"ok", b"")) if MODE == "cut" else (b"ok", b"")
    send(conn, b"150 Here it comes" + told + b"\r\n")
    link, _ = listener.accept()
    listener.close()
    if MODE == "drop" and verb == "RETR":
        link.sendall(b"x" * 50000)
        link.close()
        return False
    link.sendall(data)
    link.close()
    send(conn, "226 Done\r\n")
    return True


def session(conn):
    if MODE == "busy":
        send(conn, "421 Too many users, try later\r\n")
        return
    send(conn, "220-Welcome\r\n220-to the server\r\n220 Ready\r\n")
    reader = conn.makefile("rb")
    listener = None
    cwd = b"/"
    for raw in reader:
        line = raw.rstrip(b"\r\n")
        verb, _, arg = line.partition(b" ")
        verb = verb.decode(errors="replace")
        if verb == "USER":
            send(conn, "331 Password please\r\n")
        elif verb == "PASS":
            send(conn, "230 Logged in\r\n")
        elif verb == "TYPE":
            send(conn, "200 Okay\r\n")
        elif verb == "CWD":
            target = resolve(cwd, arg).encode()
            refused = MODE == "refuse" or (MODE == "refusesub" and target.endswith(b"/sub"))
            if not refused:
                cwd = target
            send(conn, "550 No way\r\n" if refused else "250 Okay\r\n")
        elif verb == "PWD":
            send(conn, b'257 "' + cwd + b'" is current\r\n')
        elif verb == "PASV":
            listener = data_channel(conn)
        elif verb in ("LIST", "RETR"):
            path = resolve(cwd, arg) if verb == "RETR" else cwd.decode(errors="replace")
            if not transfer(conn, listener, verb, path):
                conn.close()
                return
        elif verb == "QUIT":
            send(conn, "221 Bye\r\n")
            return
        else:
            send(conn, "502 Not here\r\n")


BUSY = threading.Lock()


def handle(conn):
    if MODE == "stall":
        time.sleep(3600)
    if MODE == "single" and not BUSY.acquire(blocking=False):
        send(conn, "421 Only one session at a time\r\n")
        conn.close()
        return
    try:
        session(conn)
    except OSError:
        pass
    conn.close()
    if MODE == "single":
        BUSY.release()


def main():
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(4)
    print(server.getsockname()[1], flush=True)
    while True:
        conn, _ = server.accept()
        threading.Thread(target=handle, args=(conn,), daemon=True).start()


main()
