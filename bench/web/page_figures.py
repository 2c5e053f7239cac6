#!/usr/bin/python3
"""The page's speed and size in headless Chromium (make web-figures).

As build/vivarix-watch-run times the desktop program: seed 20261208, ten blue and
ten red creatures placed by clicks at the same places, a minute at the first speed,
then fast-forward to "max".  Prints the frame rate from the animation frames'
timestamps, the ticks a second at "max" (from the checkpoints that saving the
session writes), the creatures then, everything the page downloads and the time
it takes to be ready.  Then, on a plate grown at "max" with Auto at its highest to
2,500 creatures, the frame rate at the first speed.

The creatures are read from the legend's texts as the page draws them.
"""
import argparse
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / 'tests' / 'web'))
import browser_test as bt  # noqa: E402  (the server, the browser and real input)

SEED = 20261208
# Frame times, and the legend's counts of blue and red creatures (": N" at x 23,
# y 5 and y 25 of the plate) as the page draws them.
WATCH = """
  window.frameTimes = [];
  const record = (t) => { frameTimes.push(t); requestAnimationFrame(record); };
  requestAnimationFrame(record);
  window.counts = [0, 0];
  const draw = VivarixPage.drawText;
  VivarixPage.drawText = function (font, text, heap, base, width, height, x, y) {
    if (x === 23 && (y === 5 || y === 25) && width === 460) counts[y === 5 ? 0 : 1] = Number(text.slice(2));
    return draw.apply(this, arguments);
  };"""


def creatures(driver):
    return sum(driver.execute_script('return counts'))


def frame_rate(driver, seconds):
    """Animation frames a second over `seconds`, the longest gap in ms, and the
    fewest and most creatures meanwhile."""
    driver.execute_script('frameTimes.length = 0')
    seen = []
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        seen.append(creatures(driver))
        time.sleep(0.5)
    times = driver.execute_script('return frameTimes.slice()')
    gaps = [b - a for a, b in zip(times, times[1:])]
    return 1000 * len(gaps) / (times[-1] - times[0]), max(gaps), min(seen), max(seen)


def saved_tick(driver, downloads):
    """Saves the session with the page's button; the tick of the checkpoint written
    and the time of the click that wrote it (the download's own time left out).
    (A save within the same second as the one before replaces its file.)"""
    before = {p: p.stat().st_mtime_ns for p in downloads.glob('*.vxs')}
    button = driver.find_element(bt.By.ID, 'save-session')
    clicked = time.monotonic()
    button.click()
    new = bt.wait_for('the download', lambda: [p for p in downloads.glob('*.vxs')
                                               if before.get(p) != p.stat().st_mtime_ns], 10)
    return bt.last_checkpoint(new[0]), clicked


def start(driver, url, auto_at_highest=False):
    driver.get(url)
    bt.wait_for('the page', lambda: driver.execute_script('return document.body.dataset.ready'), 20)
    driver.execute_script(WATCH)
    page = bt.Page(driver)
    if auto_at_highest:
        auto = driver.find_element(bt.By.CSS_SELECTOR, '.vx-page input[type=range]')
        bt.ActionChains(driver).click(auto).send_keys(bt.Keys.END).pause(0.2).perform()
    for i in range(10):
        page.click(110 + 25 * i, 150 + (i % 2) * 10)
    page.keys('s')
    for i in range(10):
        page.click(110 + 25 * i, 310 + (i % 2) * 10)
    return page


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--page', type=Path, default=Path('build-web'))
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
            if load == 0:  # later loads take some files from the memory cache, which tells no size
                size = driver.execute_script("""return performance.getEntriesByType('navigation')
                    .concat(performance.getEntriesByType('resource'))
                    .map(e => [e.name.split('/').pop(), e.decodedBodySize]);""")
            print(f'load {load + 1}: ready {ready} ms after the navigation started')
        print('downloaded: ' + ', '.join(f'{name} {n}' for name, n in size) +
              f'; {sum(n for _, n in size)} bytes in all')

        page = start(driver, url)
        time.sleep(50)
        rate, gap, fewest, most = frame_rate(driver, 10)
        print(f'x1: {rate:.1f} frames a second, longest frame {gap:.1f} ms, {fewest}..{most} creatures')
        page.keys('ffff')
        bt.wait_for('max', lambda: driver.title.endswith('>> max'), 5)
        for second in range(3):
            t0, began = saved_tick(driver, downloads)
            time.sleep(3)
            t1, ended = saved_tick(driver, downloads)
            print(f'max: {(t1 - t0) / (ended - began):.0f} ticks a second, {creatures(driver)} creatures')

        page = start(driver, url.replace(str(SEED), str(SEED + 1)), auto_at_highest=True)
        page.keys('ffff')
        # The population swings fast at "max": back to the first speed at once.
        bt.wait_for('2,500 creatures', lambda: creatures(driver) >= 2500, 300)
        page.keys('f')
        bt.wait_for('x1', lambda: driver.title == 'Vivarix 0.4alpha', 5)
        for _ in range(3):
            rate, gap, fewest, most = frame_rate(driver, 3)
            print(f'x1: {rate:.1f} frames a second, longest frame {gap:.1f} ms, {fewest}..{most} creatures')
        return 0
    except bt.Failure as failure:
        print(f'FAILED: {failure}; title {driver.title!r}')
        return 1
    finally:
        driver.quit()
        server.shutdown()


if __name__ == '__main__':
    sys.exit(main())
