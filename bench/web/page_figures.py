#!/usr/bin/python3
"""The page's speed and size in headless Chromium (make web-figures).

As build/vivarix-watch-run times the desktop program: seed 20261208, ten blue and
ten red creatures placed by clicks at the same places, a minute at the first speed,
then fast-forward to "max".  Prints the frame rate from the animation frames'
timestamps at the first speed, the ticks a second at "max" (from the checkpoints
that saving the session writes), the creatures at those ticks (the saved journal
replayed by vivarix-lab), everything the page downloads and the time it takes to be
ready.
"""
import argparse
import csv
import io
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / 'tests' / 'web'))
import browser_test as bt  # noqa: E402  (the server, the browser and real input)

SEED = 20261208
RECORD_FRAMES = """
  window.frameTimes = [];
  const record = (t) => { frameTimes.push(t); requestAnimationFrame(record); };
  requestAnimationFrame(record);"""


def frame_rate(driver, seconds):
    """Animation frames a second over `seconds`, and the longest gap in ms."""
    driver.execute_script('frameTimes.length = 0')
    time.sleep(seconds)
    times = driver.execute_script('return frameTimes.slice()')
    gaps = [b - a for a, b in zip(times, times[1:])]
    return 1000 * len(gaps) / (times[-1] - times[0]), max(gaps)


def saved_tick(driver, downloads):
    """Saves the session with the page's button; the tick of the checkpoint written."""
    before = set(downloads.glob('*.vxs'))
    driver.find_element(bt.By.ID, 'save-session').click()
    # Saves within one second get the same name: the browser numbers the later ones.
    new = bt.wait_for('the download', lambda: [p for p in downloads.glob('*.vxs*') if p not in before
                                               and p.suffix != '.crdownload'], 10)
    last = [line for line in new[0].read_text().splitlines() if line.startswith('check ')][-1]
    return int(last.split()[1]), new[0]


def creatures_at(lab, journal, ticks):
    out = subprocess.run([lab, '--replay', str(journal), '--every', '100'], capture_output=True, text=True,
                         check=True).stdout
    rows = {int(r['tick']): int(r['kind0']) + int(r['kind1']) for r in csv.DictReader(io.StringIO(out))}
    return [rows[max(t for t in rows if t <= tick)] for tick in ticks]


# Places a creature at each cell of a 50 by 50 grid over the plate, one click a
# frame through the page's own input (page.js), so that each is handled at its
# place: the program takes one event a pass, at the pointer's position then.
PLACE_GRID = """
  const cells = [];
  for (let gx = 0; gx < 50; gx++) for (let gy = 0; gy < 50; gy++) cells.push([80 + 6 * gx, 80 + 6 * gy]);
  window.toPlace = cells.length;
  const place = () => {
    if (cells.length === 0) return;
    const [x, y] = cells.shift();
    Module._vivarix_web_pointer(x, y);
    Module._vivarix_web_event(513, -1);
    window.toPlace = cells.length;
    requestAnimationFrame(place);
  };
  requestAnimationFrame(place);"""


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--page', type=Path, default=Path('build-web'))
    parser.add_argument('--lab', default='build/vivarix-lab')
    args = parser.parse_args()
    work = Path(tempfile.mkdtemp(prefix='vivarix-figures-'))
    downloads = work / 'downloads'
    downloads.mkdir()
    server = bt.serve(args.page)
    driver = bt.start_browser(downloads, work / 'profile')
    try:
        url = f'http://127.0.0.1:{server.server_port}/index.html?seed={SEED}'
        for load in range(3):
            driver.get(url)
            ready = bt.wait_for('the page', lambda: driver.execute_script('return document.body.dataset.ready'), 20)
            size = driver.execute_script("""return performance.getEntriesByType('navigation')
                .concat(performance.getEntriesByType('resource'))
                .map(e => [e.name.split('/').pop(), e.decodedBodySize]);""")
            print(f'load {load + 1}: ready {ready} ms after the navigation started')
        print('downloaded: ' + ', '.join(f'{name} {n}' for name, n in size) +
              f'; {sum(n for _, n in size)} bytes in all')

        page = bt.Page(driver)
        for i in range(10):
            page.click(110 + 25 * i, 150 + (i % 2) * 10)
        page.keys('s')
        for i in range(10):
            page.click(110 + 25 * i, 310 + (i % 2) * 10)
        driver.execute_script(RECORD_FRAMES)
        time.sleep(50)
        start, _ = saved_tick(driver, downloads)
        rate, gap = frame_rate(driver, 10)
        end, _ = saved_tick(driver, downloads)
        print(f'x1: {rate:.1f} frames a second, longest frame {gap:.1f} ms, ticks {start}..{end}')

        page.keys('ffff')
        print(f'title: {driver.title}')
        maxima = []
        for second in range(3):
            t0, _ = saved_tick(driver, downloads)
            began = time.monotonic()
            time.sleep(5)
            t1, journal = saved_tick(driver, downloads)
            maxima.append((t0, t1, (t1 - t0) / (time.monotonic() - began)))
        rate, gap = frame_rate(driver, 5)
        counts = creatures_at(args.lab, journal, [start, end] + [m[1] for m in maxima])
        print(f'x1: {counts[0]} -> {counts[1]} creatures')
        for (t0, t1, speed), count in zip(maxima, counts[2:]):
            print(f'max: {speed:.0f} ticks a second (ticks {t0}..{t1}, {count} creatures at the end)')
        print(f'max: {rate:.1f} frames a second, longest frame {gap:.1f} ms')

        # A fresh page with 2,500 creatures at the first speed.
        for old in downloads.iterdir():
            old.unlink()
        driver.get(url.replace(str(SEED), str(SEED + 1)))
        bt.wait_for('the page', lambda: driver.execute_script('return document.body.dataset.ready'), 20)
        driver.execute_script(RECORD_FRAMES + PLACE_GRID)
        bt.wait_for('2,500 placements', lambda: driver.execute_script('return toPlace') == 0, 300)
        start, _ = saved_tick(driver, downloads)
        rate, gap = frame_rate(driver, 10)
        end, journal = saved_tick(driver, downloads)
        counts = creatures_at(args.lab, journal, [start, end])
        print(f'x1 with {counts[0]} -> {counts[1]} creatures: {rate:.1f} frames a second, longest frame {gap:.1f} ms')
        return 0
    finally:
        driver.quit()
        server.shutdown()


if __name__ == '__main__':
    sys.exit(main())
