"""The tests' FTP server (ftp_server.py beside it) with a fault on its
data connections, chosen by the environment: MAVU_FTP_FAULT="MODE:BYTES".
Once BYTES of a file are sent,
  abort     closes the data connection and says so (426),
  truncate  closes it and claims the transfer complete (226),
  kill      ends the whole server at once.
"""
import os
import runpy
import sys

from pyftpdlib.handlers import DTPHandler, FTPHandler

MODE, _, LIMIT = os.environ.get("MAVU_FTP_FAULT", "").partition(":")
LIMIT = int(LIMIT or 0)


class FaultyDTPHandler(DTPHandler):
    def send(self, data):
        if not MODE or self.receive:
            return DTPHandler.send(self, data)
        room = LIMIT - self.tot_bytes_sent
        if room > len(data):
            return DTPHandler.send(self, data)
        sent = DTPHandler.send(self, data[:room]) if room > 0 else 0
        if self.tot_bytes_sent >= LIMIT:
            self.inject()
        return sent

    def inject(self):
        if MODE == "kill":
            os._exit(1)
        if MODE == "truncate":
            self.producer_fifo.clear()
        self.handle_close()


# sendfile() would carry the file past send().
FTPHandler.use_sendfile = False
FTPHandler.dtp_handler = FaultyDTPHandler
script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "ftp_server.py")
sys.argv[0] = script
runpy.run_path(script, run_name="__main__")
