"""How long the tests' servers live: until their standard input closes (the
test ending, even by a crash) or for at most LIFETIME seconds."""
import os
import sys
import threading


def end_with_test(lifetime):
    def watch_stdin():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    timer = threading.Timer(lifetime, lambda: os._exit(0))
    timer.daemon = True
    timer.start()
