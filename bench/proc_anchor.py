# The anchor of bench/proc: the same cases through scipy.ndimage, on the
# files proc_bench wrote.
#
#   python3 proc_anchor.py CASE DIR RUNS [OURS]
#
# Prints the best wall time of RUNS runs in seconds; given OURS (our result
# as raw float32), also the largest difference between the two results.
import sys
import time

import numpy as np
from scipy import ndimage

LADO = 4096
caso, pasta, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
img = np.fromfile(pasta + "/img.f32", dtype="<f4").reshape(LADO, LADO)
if caso in ("sobel", "log"):
    n = 3 if caso == "sobel" else 13
    masc = np.fromfile(pasta + "/" + caso + ".f32", dtype="<f4").reshape(n, n)
    f = lambda: ndimage.convolve(img, masc, mode="nearest")
elif caso == "metade":
    f = lambda: ndimage.zoom(img, 0.5, order=1, mode="nearest")
else:
    f = lambda: ndimage.zoom(img, 2.0, order=1, mode="nearest")
melhor = 1e30
for _ in range(runs):
    t0 = time.perf_counter()
    r = f()
    melhor = min(melhor, time.perf_counter() - t0)
print("%.3f" % melhor)
if len(sys.argv) > 4:
    nossa = np.fromfile(sys.argv[4], dtype="<f4").reshape(r.shape)
    print("%.3g" % float(np.max(np.abs(nossa.astype(np.float64) - r))))
