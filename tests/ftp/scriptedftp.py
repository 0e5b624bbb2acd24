"""A scripted FTP server that misbehaves on purpose, one way per MODE.

unsafe: lists entries named "..", ".", "a/b" and "../up" besides good.txt.
drop:   drops both connections in the middle of sending big.bin.
stall:  accepts connections and never answers.
refuse: refuses every CWD with 550.
refusesub: lists a subdirectory "sub" besides good.txt and refuses to enter it.
Prints its port as the first line; serves one session at a time until killed.
"""
import socket
import sys
import time

MODE = sys.argv[1]
ENTRY = "{} 1 owner group {} Jan 01 00:00 {}\r\n"
LISTINGS = {
    "unsafe": [("-rw-r--r--", 4, ".."), ("drwxr-xr-x", 0, ".."), ("drwxr-xr-x", 0, "."),
               ("-rw-r--r--", 4, "a/b"), ("drwxr-xr-x", 0, "../up"),
               ("-rw-r--r--", 2, "good.txt")],
    "drop": [("-rw-r--r--", 100000, "big.bin")],
    "refusesub": [("drwxr-xr-x", 0, "sub"), ("-rw-r--r--", 2, "good.txt")],
}


def send(conn, text):
    conn.sendall(text.encode())


def data_channel(conn):
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    port = listener.getsockname()[1]
    send(conn, "227 Entering Passive Mode (127,0,0,1,{},{})\r\n".format(port // 256, port % 256))
    return listener


def session(conn):
    send(conn, "220-Welcome\r\n220-to the server\r\n220 Ready\r\n")
    reader = conn.makefile("rb")
    listener = None
    for raw in reader:
        line = raw.decode(errors="replace").rstrip("\r\n")
        verb, _, arg = line.partition(" ")
        if verb == "USER":
            send(conn, "331 Password please\r\n")
        elif verb == "PASS":
            send(conn, "230 Logged in\r\n")
        elif verb == "TYPE":
            send(conn, "200 Okay\r\n")
        elif verb == "CWD":
            refused = MODE == "refuse" or (MODE == "refusesub" and arg.endswith("/sub"))
            send(conn, "550 No way\r\n" if refused else "250 Okay\r\n")
        elif verb == "PWD":
            send(conn, '257 "/top" is current\r\n')
        elif verb == "PASV":
            listener = data_channel(conn)
        elif verb in ("LIST", "RETR"):
            send(conn, "150 Here it comes\r\n")
            data, _ = listener.accept()
            listener.close()
            if verb == "LIST":
                rows = LISTINGS.get(MODE, [])
                data.sendall("".join(ENTRY.format(*row) for row in rows).encode())
            elif MODE == "drop":
                data.sendall(b"x" * 50000)
                data.close()
                conn.close()
                return
            else:
                data.sendall(b"ok" if arg == "good.txt" else b"evil")
            data.close()
            send(conn, "226 Done\r\n")
        elif verb == "QUIT":
            send(conn, "221 Bye\r\n")
            return
        else:
            send(conn, "502 Not here\r\n")


def main():
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(4)
    print(server.getsockname()[1], flush=True)
    while True:
        conn, _ = server.accept()
        if MODE == "stall":
            time.sleep(3600)
        try:
            session(conn)
        except OSError:
            pass
        conn.close()


main()
