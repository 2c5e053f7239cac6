#!/usr/bin/python3
"""The page (make web) in headless Chromium, driven with real input.

Loads the page from a static server of its own on a free loopback port, places
creatures with clicks on the plate, feeds by holding the right button, moves the
Auto slider, lets a few thousand ticks run, pauses and saves the session with the
page's own button.  Then `vivarix-lab --replay` must verify every checkpoint of the
downloaded journal, and the plate on the canvas must equal, pixel for pixel outside
the legend's text, the frame vivarix-replay-frame draws natively for the same
journal.  Then it opens a journal the desktop program recorded, goes to ticks of it
with Ctrl+G and End and saves there: the page's checkpoints must carry the creatures
hashes `vivarix-lab --replay` reaches at those ticks.  A broken file dropped on the
page gets its message, and the page goes on: a jump from the recording's start with
the processor slowed shows its progress and stops at Cancel.

Exit 0 passed, 1 failed, 77 skipped (no Chromium, ChromeDriver or Selenium here).
"""
import argparse
import base64
import functools
import http.server
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

SKIP = 77
PLATE = 460
SEED = 20240607
# A session the desktop program recorded: plates, placements, feeding, Auto.
RECORDED = Path(__file__).resolve().parents[1] / 'lab' / 'golden' / 'recorded_session.vxs'
# The legend's text and the frame rate are drawn in the browser's font, not the
# desktop's: left out of the comparison (x, y, width, height).
TEXT_AREAS = [(21, 3, 90, 120), (400, 0, 60, 20)]
CHROMIUM_FLAGS = ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                  '--disable-background-networking', '--disable-component-update', '--disable-sync',
                  '--window-size=1300,1000']

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.actions.action_builder import ActionBuilder
    from selenium.webdriver.common.actions.mouse_button import MouseButton
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    webdriver = None


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    handler = functools.partial(QuietHandler, directory=str(folder))
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def start_browser(downloads, profile):
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for flag in CHROMIUM_FLAGS + [f'--user-data-dir={profile}']:
        options.add_argument(flag)
    # Saves are downloads the page starts: many of them are no abuse here.
    options.add_experimental_option('prefs', {'profile.default_content_setting_values.automatic_downloads': 1})
    driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    driver.execute_cdp_cmd('Browser.setDownloadBehavior', {'behavior': 'allow', 'downloadPath': str(downloads)})
    return driver


class Page:
    def __init__(self, driver):
        self.driver = driver
        self.plate = driver.find_element(By.ID, 'plate')
        self.scale = self.plate.size['width'] / PLATE

    def offset(self, x, y):
        """Offsets from the plate's centre (where Selenium aims) to the middle of cell (x, y)."""
        return (round((x + 0.5) * self.scale - self.plate.size['width'] / 2),
                round((y + 0.5) * self.scale - self.plate.size['height'] / 2))

    def click(self, x, y):
        # A pause after each click: the program takes one event a pass, at the
        # pointer's position when it handles it.
        ActionChains(self.driver).move_to_element_with_offset(self.plate, *self.offset(x, y)).click().pause(0.15) \
            .perform()

    def hold_right(self, x, y, seconds):
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to(self.plate, *self.offset(x, y))
        actions.pointer_action.pointer_down(MouseButton.RIGHT).pause(seconds).pointer_up(MouseButton.RIGHT)
        actions.perform()

    def keys(self, text):
        ActionChains(self.driver).send_keys(text).pause(0.1).perform()

    def plate_tick(self):
        match = re.search(r'tick (\d+)', self.driver.find_element(By.ID, 'population-title').text)
        return int(match.group(1)) if match else -1

    def canvas_rgb(self):
        data = self.driver.execute_script("""
            const c = document.getElementById('plate');
            const rgba = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
            let text = '';
            for (let i = 0; i < rgba.length; i += 32768)
              text += String.fromCharCode.apply(null, rgba.subarray(i, i + 32768));
            return btoa(text);""")
        rgba = base64.b64decode(data)
        return bytes(b for i, b in enumerate(rgba) if i % 4 != 3)


def last_checkpoint(journal):
    return int([line for line in journal.read_text().splitlines() if line.startswith('check ')][-1].split()[1])


def checkpoints(journal):
    """Tick -> creatures hash of every checkpoint."""
    return {int(tick): value for _, tick, value in
            (line.split() for line in journal.read_text().splitlines() if line.startswith('check '))}


def wait_for(what, condition, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.2)
    raise Failure(f'timed out waiting for {what}')


def read_ppm(path):
    data = path.read_bytes()
    header = data.split(b'\n', 3)
    check(header[0] == b'P6' and header[1] == f'{PLATE} {PLATE}'.encode(), f'{path}: not a {PLATE}x{PLATE} PPM')
    return header[3]


def differing_pixels(page_rgb, frame_rgb):
    """Cells whose colour differs, outside the text areas."""
    def in_text(x, y):
        return any(ax <= x < ax + w and ay <= y < ay + h for ax, ay, w, h in TEXT_AREAS)
    return [(x, y) for y in range(PLATE) for x in range(PLATE)
            if not in_text(x, y) and page_rgb[(y * PLATE + x) * 3:(y * PLATE + x) * 3 + 3]
            != frame_rgb[(y * PLATE + x) * 3:(y * PLATE + x) * 3 + 3]]


def drive(page, driver, args, downloads):
    check(driver.title == 'Vivarix 0.4alpha', f'title {driver.title!r}')
    tabs = [t.text for t in driver.find_elements(By.CSS_SELECTOR, '.vx-tab')]
    check(tabs == ['Global Parameters', 'Actions', 'Settings', 'About'], f'tabs {tabs}')
    driver.find_element(By.XPATH, "//button[text()='About']").click()
    seed = driver.find_element(By.XPATH, "//div[starts-with(text(), 'Seed:')]")
    check(seed.is_displayed() and seed.text == f'Seed: {SEED}', f'About tab shows {seed.text!r}')
    driver.find_element(By.XPATH, "//button[text()='Global Parameters']").click()
    driver.execute_script("""window.menus = [];
        document.getElementById('plate').addEventListener('contextmenu', e => menus.push(e.defaultPrevented));""")

    blue = [(150, 150), (300, 160), (170, 300), (310, 310), (230, 120), (120, 230)]
    red = [(200, 200), (260, 260), (200, 260), (260, 200), (340, 230), (230, 340)]
    for x, y in blue:
        page.click(x, y)
    page.keys('s')
    for x, y in red:
        page.click(x, y)
    page.hold_right(230, 230, 1.0)
    check(driver.execute_script('return menus') == [True], 'the right button opened a context menu on the plate')

    # The Auto slider: a click on it (which may move it), then three steps by key.
    auto = driver.find_element(By.CSS_SELECTOR, '.vx-page input[type=range]')
    label = driver.find_element(By.XPATH, "//div[starts-with(text(), 'Auto:')]")
    check(label.text == 'Auto: 80', f'Auto label {label.text!r}')
    ActionChains(driver).click(auto).pause(0.2).perform()
    position = int(auto.get_attribute('value')) + 3
    ActionChains(driver).send_keys(Keys.ARROW_RIGHT * 3).pause(0.2).perform()
    wait_for('the Auto label', lambda: label.text == f'Auto: {position * 8}', 5)

    page.keys('h')
    check(driver.find_element(By.CSS_SELECTOR, '#population-chart .u-over'), 'the population chart')
    wait_for(f'{args.ticks} ticks', lambda: page.plate_tick() >= args.ticks, args.ticks / 10)
    page.keys('p')
    wait_for('the pause', lambda: driver.title == 'Vivarix 0.4alpha *** PAUSE ***', 5)  # the browser collapses spaces
    plate_rgb = page.canvas_rgb()

    driver.find_element(By.ID, 'save-session').click()
    saved = wait_for('the download', lambda: [p for p in downloads.glob('*.vxs')], 10)
    check(len(saved) == 1 and re.fullmatch(r'vivarix-\d{8}-\d{6}\.vxs', saved[0].name), f'downloads {saved}')
    journal = saved[0].read_text()
    shutil.copy(saved[0], downloads.parent / 'session.vxs')
    lines = journal.splitlines()
    check(lines[:3] == ['vivarix-session 1', f'seed {SEED}', 'start random'], f'journal starts {lines[:3]}')
    count = lambda word: sum(line.startswith(word + ' ') for line in lines)
    check(count('place') == len(blue) + len(red), f'{count("place")} placements journalled')
    check({line.split()[4] for line in lines if line.startswith('place ')} == {'0', '1'}, 'both kinds placed')
    check(count('feed') >= 1 and count('nofeed') >= 1, 'no feeding journalled')
    check(any(re.fullmatch(rf'auto \d+ {position}', line) for line in lines), 'the Auto slider not journalled')
    tick = last_checkpoint(saved[0])
    check(tick >= args.ticks, f'saved at tick {tick}')

    # Keys: Shift+P is no shortcut, N runs one tick while paused, Ctrl+S saves too,
    # F1 shows the help, F fast-forwards.
    ActionChains(driver).key_down(Keys.SHIFT).send_keys('p').key_up(Keys.SHIFT).pause(0.3).perform()
    check(driver.title.endswith('*** PAUSE ***'), f'Shift+P made the title {driver.title!r}')
    page.keys('n')
    ActionChains(driver).key_down(Keys.CONTROL).send_keys('s').key_up(Keys.CONTROL).perform()
    # Saved within the same second, it has the same name and replaces the first.
    wait_for('N and Ctrl+S', lambda: tick + 1 in [last_checkpoint(p) for p in downloads.glob('*.vxs')], 10)
    page.keys(Keys.F1)
    wait_for('the help', lambda: driver.find_element(By.ID, 'help').get_attribute('open'), 5)
    driver.find_element(By.ID, 'help-close').click()
    page.keys('pf')
    wait_for('fast-forward', lambda: driver.title == 'Vivarix 0.4alpha >> x4', 5)
    if args.screenshot:
        # The statistics and the magnifier on.
        page.keys('gl')
        driver.set_window_size(1000, 1000)
        driver.execute_script('window.scrollTo(0, 0)')
        time.sleep(2)
        driver.save_screenshot(str(args.screenshot))
    return downloads.parent / 'session.vxs', plate_rgb


def ctrl(driver, key):
    ActionChains(driver).key_down(Keys.CONTROL).send_keys(key).key_up(Keys.CONTROL).pause(0.2).perform()


def go_to(driver, tick):
    """Ctrl+G, then `tick` typed into the page's dialog."""
    ctrl(driver, 'g')
    wait_for('the tick dialog', lambda: driver.find_element(By.ID, 'ask-tick').get_attribute('open'), 5)
    field = driver.find_element(By.ID, 'ask-tick-value')
    field.clear()
    field.send_keys(f'{tick}{Keys.ENTER}')


def open_sessions(page, driver, args, downloads):
    lab = subprocess.run([args.lab, '--replay', str(RECORDED), '--every', '7777'], capture_output=True, text=True,
                         timeout=300)
    expected = {int(row.split(',')[0]): row.split(',')[-1] for row in lab.stdout.splitlines()[1:]}
    end = max(expected)
    title = lambda at: f'Vivarix 0.4alpha replay {at} *** PAUSE ***'

    def saved_at(tick):
        ctrl(driver, 's')
        return wait_for(f'a journal saved at tick {tick}', lambda: [
            checkpoints(p) for p in downloads.glob('*.vxs') if last_checkpoint(p) == tick], 10)[0]

    # The button and Ctrl+O both show the file picker; the file picked opens paused.
    driver.execute_script("""window.picks = 0;
        document.getElementById('open-file').addEventListener('click', () => picks++);""")
    driver.find_element(By.ID, 'open-session').click()
    wait_for('the file picker', lambda: driver.execute_script('return picks') == 1, 5)
    ctrl(driver, 'o')
    wait_for('the file picker of Ctrl+O', lambda: driver.execute_script('return picks') == 2, 5)
    driver.find_element(By.ID, 'open-file').send_keys(str(RECORDED))
    wait_for('the opened session', lambda: driver.title == title(f'0/{end}'), 10)

    # Between the recording's checkpoints the page writes one of its own.
    go_to(driver, 7777)
    wait_for('tick 7777', lambda: driver.title == title(f'7777/{end}'), 60)
    at = saved_at(7777)[7777]
    check(at == expected[7777], f"the page's creatures at tick 7777: {at}, vivarix-lab's {expected[7777]}")
    page.keys(Keys.END)
    wait_for("the recording's end", lambda: driver.title == title(f'end {end}'), 60)
    at = saved_at(end)[end]
    check(at == expected[end], f"the page's creatures at tick {end}: {at}, vivarix-lab's {expected[end]}")

    driver.execute_script("""const files = new DataTransfer();
        files.items.add(new File(['vivarix-session 1\\nseed none\\n'], 'broken.vxs'));
        window.dispatchEvent(new DragEvent('drop', {dataTransfer: files, cancelable: true}));""")
    wait_for('the message', lambda: driver.find_element(By.ID, 'message').get_attribute('open'), 5)
    message = driver.find_element(By.ID, 'message-text').text
    check(message.startswith('broken.vxs cannot be opened: line 2'), f"the broken file's message {message!r}")
    driver.find_element(By.ID, 'message-ok').click()

    go_to(driver, 0)
    wait_for("the recording's start", lambda: driver.title == title(f'0/{end}'), 10)
    driver.execute_cdp_cmd('Emulation.setCPUThrottlingRate', {'rate': 20})
    try:
        page.keys(Keys.END)
        wait_for('the progress', lambda: driver.find_element(By.ID, 'progress').get_attribute('open'), 30)
        shown = driver.find_element(By.ID, 'progress-text').text
        check(re.fullmatch(rf'Tick \d+ of {end}', shown), f'the progress shows {shown!r}')
        driver.find_element(By.ID, 'progress-cancel').click()
        stopped = re.compile(re.escape(title('@')).replace('@', rf'[1-9]\d*/{end}'))
        wait_for('the jump to stop short of the end', lambda: stopped.fullmatch(driver.title), 30)
    finally:
        driver.execute_cdp_cmd('Emulation.setCPUThrottlingRate', {'rate': 1})


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--page', type=Path, required=True, help='the folder make web fills')
    parser.add_argument('--lab', required=True, help='vivarix-lab')
    parser.add_argument('--replay-frame', required=True, help='vivarix-replay-frame')
    parser.add_argument('--ticks', type=int, default=2500)
    parser.add_argument('--screenshot', type=Path, help='also save a screenshot of the page there')
    args = parser.parse_args()

    missing = [p for p in ('/usr/bin/chromium', '/usr/bin/chromedriver') if not Path(p).exists()]
    if webdriver is None or missing:
        print('SKIPPED: headless Chromium needs chromium, chromium-driver and python3-selenium '
              f'(scripts/install-deps installs them); missing: {missing or ["selenium"]}')
        return SKIP
    if not (args.page / 'index.html').exists() or not (args.page / 'vivarix.wasm').exists():
        print(f'FAILED: no page in {args.page}: build it with make web')
        return 1

    work = Path(tempfile.mkdtemp(prefix='vivarix-browser-'))
    downloads = work / 'downloads'
    downloads.mkdir()
    server = serve(args.page)
    driver = start_browser(downloads, work / 'profile')
    try:
        driver.get(f'http://127.0.0.1:{server.server_port}/index.html?seed={SEED}')
        wait_for('the page', lambda: driver.execute_script('return document.body.dataset.ready'), 20)
        journal, plate_rgb = drive(Page(driver), driver, args, downloads)

        replay = subprocess.run([args.lab, '--replay', str(journal)], capture_output=True, text=True, timeout=300)
        verified = re.search(r'replay verified: (\d+) checkpoints', replay.stderr)
        check(replay.returncode == 0 and verified and int(verified.group(1)) >= args.ticks // 1000 + 1,
              f'vivarix-lab --replay: exit {replay.returncode}: {replay.stderr.strip()}')

        frame = work / 'frame.ppm'
        drawn = subprocess.run([args.replay_frame, str(journal), str(frame)], capture_output=True, text=True,
                               timeout=300)
        check(drawn.returncode == 0, f'vivarix-replay-frame: exit {drawn.returncode}: {drawn.stderr.strip()}')
        differing = differing_pixels(plate_rgb, read_ppm(frame))
        check(not differing, f'{len(differing)} plate pixels differ from the desktop frame, first {differing[:5]}')
        open_sessions(Page(driver), driver, args, downloads)
        print(f'passed: {verified.group(1)} checkpoints verified, the plate equals the desktop frame, '
              "the opened session reaches vivarix-lab's creatures")
        return 0
    except Failure as failure:
        print(f'FAILED: {failure}; title {driver.title!r}, downloads {sorted(p.name for p in downloads.iterdir())}')
        for entry in driver.get_log('browser'):
            print('browser:', entry['message'])
        return 1
    finally:
        driver.quit()
        server.shutdown()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    sys.exit(main())
