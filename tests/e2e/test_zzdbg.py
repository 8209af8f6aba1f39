import sys, time, os
from harness import *
def scenario_dbg(h):
    h.env["LANG"] = h.env["LC_ALL"] = "en_US.UTF-8"
    h.write_ini("[Message]\nMsg_ID1=1\n[Capture]\nSleepTime=300\n")
    h.start()
    h.choose_from_star_menu(1, "t", "r"); time.sleep(1.5)
    h.screenshot().save("/tmp/s_rect.png")
    h.key("Return", window=None, settle=3)
    h.screenshot().save("/tmp/s_overlay.png")
