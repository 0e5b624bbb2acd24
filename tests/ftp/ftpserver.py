"""A local FTP server for the tests: serves ROOT to USER/PASSWORD on 127.0.0.1.

Prints the port it listens on as its first line, then serves until it is killed.
"""
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    root, user, password = sys.argv[1:4]
    logging.disable(logging.CRITICAL)
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, root, perm="elr")
    handler = FTPHandler
    handler.authorizer = authorizer
    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.socket.getsockname()[1], flush=True)
    server.serve_forever()


main()
