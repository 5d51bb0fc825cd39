// Opens the download page that scripts/make-site wrote into a release folder in Debian's
// Chromium, through playwright-core, and checks what a visitor gets:
//
//   node check-site.js FOLDER [PICTURES]
//
// both pages (Greek and English) link each other; every link and picture on them resolves to a
// file of the folder; the page asks for nothing outside the folder; every sum it shows is the one
// SHA256SUMS gives for that file, and every file of SHA256SUMS is shown, the setup first; axe-core
// finds no WCAG 2.1 A or AA violation; on a 1280 x 900 screen and a 360 x 740 phone, the first
// view, before any scrolling, offers the setup with its version and size, and beside it the zip
// and the .deb; at 320 and 360 px wide, and at 200 % zoom, nothing needs sideways scrolling; with
// JavaScript off the downloads are all there. With PICTURES, it saves there each page's first
// view and the whole page, at desktop and at 360 px width. Prints one line per check; exits 1 on
// a failure.
'use strict';
const fs = require('fs');
const path = require('path');
const { chromium } = require('playwright-core');
const axe = require('axe-core');

const folder = path.resolve(process.argv[2] || '');
const pictures = process.argv[3];
const pages = { el: 'index.html', en: 'index.en.html' };
let failures = 0;

function report(ok, what) {
  console.log(`${ok ? 'ok' : 'not ok'} - ${what}`);
  if (!ok) failures++;
}

function readSums() {
  const sums = new Map();
  for (const line of fs.readFileSync(path.join(folder, 'SHA256SUMS'), 'utf8').split('\n')) {
    const match = /^([0-9a-f]{64}) [ *](.+)$/.exec(line);
    if (match) sums.set(match[2], match[1]);
  }
  return sums;
}

// The folder's file that a URL of the page names, or null for one outside the folder.
function localFile(url) {
  const parsed = new URL(url);
  if (parsed.protocol !== 'file:') return null;
  const file = decodeURIComponent(parsed.pathname);
  return file.startsWith(folder + path.sep) ? file : null;
}

// What a visitor sees before scrolling: the first link to each of the setup, the zip and the
// .deb, and the setup's version and size beside its link, each wholly inside the viewport.
async function checkFirstView(page, name, size) {
  await page.setViewportSize(size);
  await page.evaluate(() => window.scrollTo(0, 0));
  const seen = await page.evaluate(({ width, height }) => {
    const inView = (element) => {
      const box = element.getBoundingClientRect();
      return box.width > 0 && box.height > 0 && box.left >= 0 && box.top >= 0 &&
        box.right <= width && box.bottom <= height;
    };
    const first = (pattern) => [...document.querySelectorAll('a[download]')]
      .find((a) => pattern.test(a.getAttribute('href')));
    const result = {};
    for (const [kind, pattern] of [['setup', /-win64-setup\.exe$/], ['zip', /-win64\.zip$/],
      ['deb', /\.deb$/]]) {
      const link = first(pattern);
      result[kind] = link ? inView(link) : false;
      if (kind === 'setup' && link) {
        const version = /-(\d[^-]*)-win64-setup\.exe$/.exec(link.getAttribute('href'))[1];
        const facts = link.parentElement;
        result.facts = inView(facts) && facts.textContent.includes(version) &&
          /\d+(?:[.,]\d+)?\s(?:MB|KB)/.test(facts.textContent);
      }
    }
    return result;
  }, size);
  const missing = Object.keys(seen).filter((kind) => !seen[kind]);
  report(missing.length === 0 && Object.keys(seen).length === 4,
    `${name}: at ${size.width} x ${size.height} the first view offers the setup with its ` +
    'version and size, the zip and the .deb' + (missing.length ? `; not: ${missing.join(', ')}` : ''));
}

async function checkPage(browser, language, sums) {
  const name = pages[language];
  const url = 'file://' + path.join(folder, name).split(path.sep).map(encodeURIComponent).join('/');
  const context = await browser.newContext({ viewport: { width: 1280, height: 900 } });
  const page = await context.newPage();
  const outside = [];
  page.on('request', (request) => {
    if (!localFile(request.url())) outside.push(request.url());
  });
  await page.goto(url, { waitUntil: 'load' });

  const lang = await page.getAttribute('html', 'lang');
  report(lang === language, `${name}: lang="${lang}"`);
  const other = language === 'el' ? pages.en : pages.el;
  report((await page.locator(`a[href="${other}"]`).count()) > 0, `${name} links ${other}`);

  // Links: files of the folder, fragments of the page, or mail to the project.
  const links = await page.$$eval('a[href]', (as) => as.map((a) => [a.getAttribute('href'), a.href]));
  const broken = [];
  for (const [href, absolute] of links) {
    if (href.startsWith('mailto:')) continue;
    if (href.startsWith('#')) {
      if ((await page.locator(`[id="${href.slice(1)}"]`).count()) !== 1) broken.push(href);
      continue;
    }
    const file = localFile(absolute);
    if (!file || !fs.existsSync(file)) broken.push(href);
  }
  report(broken.length === 0, `${name}: all ${links.length} links resolve` +
    (broken.length ? `; not: ${broken.join(', ')}` : ''));
  const images = await page.$$eval('img', (imgs) =>
    imgs.map((img) => ({ src: img.getAttribute('src'), loaded: img.complete && img.naturalWidth > 0,
      alt: img.getAttribute('alt') || '' })));
  report(images.length >= 2 && images.every((i) => i.loaded && i.alt.length > 20),
    `${name}: ${images.length} pictures load, each with alternative text`);

  // Every sum on the page beside the file it belongs to, as SHA256SUMS gives it.
  const shown = await page.$$eval('li', (items) => items
    .filter((li) => li.querySelector(':scope code.sha256'))
    .map((li) => [li.querySelector(':scope a[download]').getAttribute('href'),
      li.querySelector(':scope code.sha256').textContent]));
  const wrong = shown.filter(([file, sum]) => sums.get(file) !== sum).map(([file]) => file);
  const missing = [...sums.keys()].filter((file) => !shown.some(([f]) => f === file));
  report(wrong.length === 0 && missing.length === 0 && shown.length === sums.size,
    `${name}: the ${shown.length} sums shown are SHA256SUMS' ${sums.size}` +
    (wrong.length ? `; wrong: ${wrong.join(', ')}` : '') +
    (missing.length ? `; not shown: ${missing.join(', ')}` : ''));
  report(shown.length > 0 && /-win64-setup\.exe$/.test(shown[0][0]),
    `${name}: the setup is the first download (${shown.length ? shown[0][0] : 'none'})`);

  // In the light colours and in the dark ones that a dark desktop asks for.
  await page.addScriptTag({ content: axe.source });
  for (const scheme of ['light', 'dark']) {
    await page.emulateMedia({ colorScheme: scheme });
    const result = await page.evaluate(() => window.axe.run(document, {
      runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'] },
    }));
    for (const violation of result.violations) {
      console.log(`# axe: ${violation.id} (${violation.impact}): ${violation.help}`);
      for (const node of violation.nodes) console.log(`#   ${node.target.join(' ')}`);
    }
    report(result.violations.length === 0, `${name}: axe-core ${axe.version}, WCAG 2.1 A and ` +
      `AA, ${scheme} colours: ${result.violations.length} violations, ` +
      `${result.passes.length} rules passed, ${result.incomplete.length} to check by hand, ` +
      `${result.inapplicable.length} not applicable`);
  }
  await page.emulateMedia({ colorScheme: 'light' });
  for (const size of [{ width: 1280, height: 900 }, { width: 360, height: 740 }]) {
    await checkFirstView(page, name, size);
    if (pictures) {
      const label = size.width === 1280 ? 'desktop' : '360';
      await page.screenshot({ path: path.join(pictures, `site-${language}-${label}-first.png`) });
      await page.screenshot({ path: path.join(pictures, `site-${language}-${label}.png`),
        fullPage: true });
    }
  }

  // 320 px is WCAG's reflow width, 360 px a common phone, 640 px a 1280 px screen at 200 %.
  for (const width of [320, 360, 640]) {
    await page.setViewportSize({ width, height: 740 });
    const scroll = await page.evaluate(() => document.documentElement.scrollWidth);
    report(scroll <= width, `${name}: at ${width} px wide the page is ${scroll} px wide`);
  }
  report(outside.length === 0, `${name}: no request leaves the folder` +
    (outside.length ? `; asked for: ${outside.join(', ')}` : ''));
  await context.close();

  const noScript = await browser.newContext({ javaScriptEnabled: false });
  const plain = await noScript.newPage();
  await plain.goto(url, { waitUntil: 'load' });
  // The first view offers a few files twice: each file counts once.
  const visible = await plain.locator('a[download]').evaluateAll((as) => new Set(as
    .filter((a) => a.offsetWidth > 0 && a.offsetHeight > 0)
    .map((a) => a.getAttribute('href'))).size);
  report(visible === sums.size, `${name}: with JavaScript off, ${visible} downloads are shown`);
  await noScript.close();
}

async function main() {
  const sums = readSums();
  const browser = await chromium.launch({
    executablePath: process.env.ORVANTA_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run'],
  });
  console.log(`# ${browser.version()} (Chromium), playwright-core ` +
    require('playwright-core/package.json').version);
  try {
    for (const language of Object.keys(pages)) await checkPage(browser, language, sums);
  } finally {
    await browser.close();
  }
  if (failures) {
    console.log(`check-site: ${failures} checks failed`);
    process.exit(1);
  }
  console.log('check-site: the page passes every check');
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
