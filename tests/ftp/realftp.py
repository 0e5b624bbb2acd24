"""Runs an FTP server for the tests, read-only and passive, on 127.0.0.1 on a free port.

Usage: realftp.py pyftpdlib|vsftpd|proftpd ROOT [PASSWORD]
pyftpdlib serves ROOT to judge/PASSWORD, vsftpd to anonymous logins, proftpd to judge/secret; the
last two, Debian's, are configured by servers/<name>.* beside this file. Prints the port once the
server accepts connections, then runs until it is killed; the server dies with it. Exits with 77
when a server of Debian's is not unpacked (scripts/bootstrap.sh test unpacks it).
"""
import ctypes
import grp
import logging
import os
import pwd
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SERVERS = os.environ.get("TALDON_TEST_SERVERS", "/usr/local/lib/taldon/test-ftp")
BINARIES = {"vsftpd": "vsftpd/usr/sbin/vsftpd", "proftpd": "proftpd-core/usr/sbin/proftpd"}
FILES = {"vsftpd": ["vsftpd.conf"],
         "proftpd": ["proftpd.conf", "proftpd.passwd", "proftpd.group"]}


def pyftpdlib(root, password):
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.servers import FTPServer
    logging.disable(logging.CRITICAL)
    FTPHandler.authorizer = DummyAuthorizer()
    FTPHandler.authorizer.add_user("judge", password, root, perm="elr")
    server = FTPServer(("127.0.0.1", 0), FTPHandler)
    print(server.socket.getsockname()[1], flush=True)
    server.serve_forever()


def fill(name, work, values):
    with open(os.path.join(HERE, "servers", name)) as f:
        text = re.sub("@([A-Z]+)@", lambda m: str(values[m.group(1)]), f.read())
    target = os.path.join(work, name)
    with open(os.open(target, os.O_WRONLY | os.O_CREAT, 0o600), "w") as f:
        f.write(text)
    return target


def main():
    kind, root = sys.argv[1], os.path.abspath(sys.argv[2])
    if kind == "pyftpdlib":
        return pyftpdlib(root, sys.argv[3])
    binary = os.path.join(SERVERS, BINARIES[kind])
    if not os.access(binary, os.X_OK):
        sys.exit(print("%s is not unpacked in %s (run: sh scripts/bootstrap.sh test)"
                       % (kind, SERVERS), file=sys.stderr) or 77)
    work = tempfile.mkdtemp(prefix="taldon-" + kind + "-")
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        port = s.getsockname()[1]
    uid, gid = os.getuid(), os.getgid()
    values = {"PORT": port, "ROOT": root, "WORK": work, "UID": uid, "GID": gid,
              "USER": pwd.getpwuid(uid).pw_name, "GROUP": grp.getgrgid(gid).gr_name}
    conf = [fill(name, work, values) for name in FILES[kind]][0]
    args = [binary, conf] if kind == "vsftpd" else [binary, "-n", "-q", "-c", conf]
    # The server must not outlive this launcher, which the tests kill: PR_SET_PDEATHSIG.
    server = subprocess.Popen(args, stdout=subprocess.DEVNULL,
                              preexec_fn=lambda: ctypes.CDLL(None).prctl(1, signal.SIGKILL))
    for _ in range(100):
        if server.poll() is not None:
            sys.exit("%s exited with status %d" % (kind, server.returncode))
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=1) as s:
                if s.recv(4).startswith(b"220"):
                    break
        except OSError:
            time.sleep(0.1)
    signal.signal(signal.SIGTERM, lambda *_: server.kill())
    print(port, flush=True)
    server.wait()
    shutil.rmtree(work, ignore_errors=True)


main()
