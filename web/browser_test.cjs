// The web build in a real browser: headless Chromium with software WebGL
// opens the page, the title shows, Enter starts a game, a key hatches the
// egg, and holding D walks the dragon into the first dialogue line. Checked
// from screenshots and from the game's own state (Module._cv_page_*), with
// no console error on the way.
//   node browser_test.cjs SITE_DIR OUT_DIR [--measure SECONDS]
// CINDERVALE_NODE_MODULES names the folder holding playwright-core.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');

const { chromium } = require(path.join(process.env.CINDERVALE_NODE_MODULES || 'node_modules', 'playwright-core'));

const SCREEN = { Title: 0, Settings: 1, Playing: 2, GameOver: 3, Ending: 4 };
const CHROMIUM_FLAGS = [
  '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  // WebGL on the CPU: without a GPU Chromium renders it with SwiftShader only when asked.
  '--enable-unsafe-swiftshader', '--use-angle=swiftshader',
];
const MIME = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };

function serve(dir) {
  const server = http.createServer((req, res) => {
    const name = path.basename(decodeURIComponent(new URL(req.url, 'http://x').pathname));
    const file = path.join(dir, name);
    if (!MIME[path.extname(name)] || !fs.existsSync(file)) {
      res.writeHead(404);
      res.end();
      return;
    }
    res.writeHead(200, { 'Content-Type': MIME[path.extname(name)], 'Cache-Control': 'no-store' });
    fs.createReadStream(file).pipe(res);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

const state = (page) => page.evaluate(() => {
  const m = window.Module;
  if (!m || !m.calledRun || !m._cv_page_screen) return null;
  return { screen: m._cv_page_screen(), stage: m._cv_page_story_stage(), line: m._cv_page_dialogue_line(),
           x: m._cv_page_player_x(), steps: m._cv_page_logic_steps(), speed: m._cv_page_game_speed() };
});

async function waitFor(page, what, test, seconds) {
  const until = Date.now() + seconds * 1000;
  let last = null;
  while (Date.now() < until) {
    last = await state(page);
    if (last && test(last)) return last;
    await page.waitForTimeout(100);
  }
  throw new Error(`${what}: not within ${seconds} s (last state ${JSON.stringify(last)})`);
}

// How many distinct colours a screenshot holds, counted in the page itself
// (a blank or single-colour canvas means nothing was drawn).
async function distinctColours(page, png) {
  return page.evaluate(async (b64) => {
    const img = new Image();
    img.src = 'data:image/png;base64,' + b64;
    await img.decode();
    const c = document.createElement('canvas');
    c.width = img.width;
    c.height = img.height;
    const g = c.getContext('2d');
    g.drawImage(img, 0, 0);
    const d = g.getImageData(0, 0, c.width, c.height).data;
    const seen = new Set();
    for (let i = 0; i < d.length; i += 4 * 7) seen.add((d[i] << 16) | (d[i + 1] << 8) | d[i + 2]);
    return seen.size;
  }, png.toString('base64'));
}

// A key held across a few frames: raylib sees a press only when a frame
// finds the key down, and a slow software-rendered frame can miss a tap.
async function tap(page, key) {
  await page.keyboard.down(key);
  await page.waitForTimeout(150);
  await page.keyboard.up(key);
}

async function shot(page, outDir, name) {
  const png = await page.screenshot({ path: path.join(outDir, name) });
  const colours = await distinctColours(page, png);
  if (colours < 16) throw new Error(`${name}: only ${colours} colours on the page; nothing drawn?`);
  return colours;
}

// Frames per second from the page's own animation frames over `seconds`.
function framesPerSecond(page, seconds) {
  return page.evaluate((s) => new Promise((resolve) => {
    const times = [];
    const tick = (t) => {
      times.push(t);
      if (t - times[0] < s * 1000) requestAnimationFrame(tick);
      else {
        const perSecond = [];
        for (let i = 0, start = 0; i < times.length; ++i) {
          while (times[i] - times[start] > 1000) ++start;
          if (times[i] - times[0] >= 1000) perSecond.push(i - start);
        }
        perSecond.sort((a, b) => a - b);
        resolve(perSecond.length ? perSecond[perSecond.length >> 1] : times.length / s);
      }
    };
    requestAnimationFrame(tick);
  }), seconds);
}

async function main() {
  const [siteDir, outDir] = process.argv.slice(2);
  const measureAt = process.argv.indexOf('--measure');
  const measureSeconds = measureAt > 0 ? Number(process.argv[measureAt + 1]) : 0;
  fs.mkdirSync(outDir, { recursive: true });
  const server = await serve(siteDir);
  const url = `http://127.0.0.1:${server.address().port}/cindervale.html`;
  const browser = await chromium.launch({ executablePath: process.env.CINDERVALE_CHROMIUM || '/usr/bin/chromium',
                                          headless: true, args: CHROMIUM_FLAGS });
  const errors = [];
  let passed = 0;
  try {
    const page = await browser.newPage({ viewport: { width: 1280, height: 720 } });
    page.on('console', (msg) => { if (msg.type() === 'error') errors.push(`console: ${msg.text()}`); });
    page.on('pageerror', (err) => errors.push(`page: ${err.message}`));
    page.on('requestfailed', (req) => errors.push(`request: ${req.url()} ${req.failure().errorText}`));

    // Settings kept by an earlier visit, in the page's local storage.
    await page.addInitScript(() => {
      if (!sessionStorage.getItem('seeded')) {
        localStorage.setItem('cindervale.settings', 'volume=0.5\ngame_speed=90\n');
        sessionStorage.setItem('seeded', '1');
      }
    });
    const opened = Date.now();
    await page.goto(url);
    const title = await waitFor(page, 'the title', (s) => s.screen === SCREEN.Title, 60);
    const toTitle = Date.now() - opened;
    if (title.speed !== 90) throw new Error(`the stored game speed was not read (${title.speed})`);
    await page.waitForTimeout(500);
    console.log(`title: ${toTitle} ms from opening the page, ${await shot(page, outDir, 'title.png')} colours`);
    ++passed;

    // A change on the settings screen is stored when the screen is left.
    await tap(page, 's');
    await waitFor(page, 'S opens the settings', (s) => s.screen === SCREEN.Settings, 10);
    await tap(page, 'ArrowRight');
    await tap(page, 'Escape');
    await waitFor(page, 'Escape leaves the settings', (s) => s.screen === SCREEN.Title, 10);
    const stored = await page.evaluate(() => localStorage.getItem('cindervale.settings'));
    if (!/^volume=0\.55\d*$/m.test(stored) || !/^game_speed=90$/m.test(stored)) {
      throw new Error(`the settings were not stored: ${JSON.stringify(stored)}`);
    }
    ++passed;

    await tap(page, 'Enter');
    const playing = await waitFor(page, 'Enter starts a game', (s) => s.screen === SCREEN.Playing, 20);
    if (playing.stage !== 0) throw new Error(`a new game opens at story stage ${playing.stage}, not at the egg`);
    await page.waitForTimeout(300);
    await shot(page, outDir, 'egg.png');
    ++passed;

    await tap(page, 'Space');
    await waitFor(page, 'a key cracks the egg', (s) => s.stage >= 1, 10);
    await waitFor(page, 'the egg hatches', (s) => s.stage === 3, 30);
    ++passed;

    let cave = 0;
    if (measureSeconds > 0) cave = await framesPerSecond(page, measureSeconds);

    const start = await state(page);
    await page.keyboard.down('d');
    const talking = await waitFor(page, 'holding D walks to the first line', (s) => s.line >= 1, 120);
    await page.keyboard.up('d');
    if (talking.x <= start.x) throw new Error(`the dragon did not walk right (${start.x} -> ${talking.x})`);
    await page.waitForTimeout(800);
    console.log(`dialogue: line ${talking.line} at column ${talking.x}, ${await shot(page, outDir, 'dialogue.png')} colours`);
    ++passed;

    if (measureSeconds > 0) {
      console.log(`measure: ${toTitle} ms to the title; median frames per second over ${measureSeconds} s ` +
                  `in the cave: ${cave}`);
    }
    if (errors.length) throw new Error(`errors in the page:\n  ${errors.join('\n  ')}`);
    ++passed;
    console.log(`browser: ${passed} passed, 0 failed`);
  } catch (err) {
    console.log(`browser: FAILED: ${err.message}`);
    if (errors.length) console.log(`page errors so far:\n  ${errors.join('\n  ')}`);
    console.log(`browser: ${passed} passed, 1 failed`);
    process.exitCode = 1;
  } finally {
    await browser.close();
    server.close();
  }
}

main();
