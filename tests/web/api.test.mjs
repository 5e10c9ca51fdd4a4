// The JavaScript API under Node against the Linux build's command line:
// the same pixels, the same messages, no memory kept across calls.
//   KESTRA_WEB=build-wasm KESTRA_CLI=build/kestra node --test tests/web/
import assert from 'node:assert/strict';
import {mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {after, before, describe, test} from 'node:test';
import {pathToFileURL} from 'node:url';

import {cases, sales} from './cases.mjs';
import {firstDifference, nativeErrors, nativePicture} from './native.mjs';

const web = process.env.KESTRA_WEB ?? new URL('../../build-wasm', import.meta.url).pathname;
const gallery = new URL('../../docs/gallery/data/', import.meta.url);
let kestra;

before(async () => {
  const {createKestra} = await import(pathToFileURL(join(web, 'kestra.mjs')).href);
  kestra = await createKestra();
});

function assertSamePicture(actual, expected) {
  assert.equal(actual.data.constructor, Uint8ClampedArray);
  assert.equal(firstDifference(actual, expected), null);
}

describe('pictures match the command line', () => {
  for (const {name, js, cli} of cases) {
    test(name, () => assertSamePicture(js(kestra), nativePicture(cli)));
  }
});

describe('tables read from text and bytes', () => {
  let folder;
  before(() => { folder = mkdtempSync(join(tmpdir(), 'kestra-web-')); });
  after(() => rmSync(folder, {recursive: true, force: true}));

  // The command line draws the file; the API reads its content under its name.
  function assertSameDiagram(name, content, options = {}, cliOptions = []) {
    const path = join(folder, name);
    writeFileSync(path, content);
    const table = kestra.readTable(content, name);
    assertSamePicture(kestra.diagram({...table, ...options}), nativePicture(['diag', path, ...cliOptions]));
    return table;
  }

  test('CSV with headers and a gap', () => {
    const table = assertSameDiagram('sales.csv', 'Region;Q1;Q2;Q3\nNorth;1,5;2;\nSouth;3;(4);5\n');
    assert.deepEqual(table.names, ['North', 'South']);
    assert.deepEqual(table.labels, ['Q1', 'Q2', 'Q3']);
    assert.ok(Number.isNaN(table.values[0][2]));
    assert.equal(table.values[1][1], -4);
  });

  test('HTML from pandas', () => {
    const table = assertSameDiagram('revenue.html', readFileSync(new URL('revenue.html', gallery), 'utf8'),
      {kind: 'lines', captionY: 'EUR m'}, ['--kind', 'lines', '--caption-y', 'EUR m']);
    assert.equal(table.hasNames && table.hasLabels, true);
  });

  test('xlsx bytes', () => {
    assertSameDiagram('visitors.xlsx', readFileSync(new URL('visitors.xlsx', gallery)),
      {kind: 'markers', decimals: 0}, ['--kind', 'markers', '--decimals', '0']);
  });

  test('Excel 5.0/95 bytes read as their Excel 97 twins, texts in the code page', () => {
    const data = new URL('../data/table/', import.meta.url);
    const read = (file) => kestra.readTable(readFileSync(new URL(file, data)), 'book.xls');
    assert.deepEqual(read('gnumeric_sales_biff7.xls'), read('gnumeric_sales.xls'));
    assert.deepEqual(read('gnumeric_cyrillic_biff7.xls'), read('gnumeric_cyrillic.xls'));
    const cyrillic = read('gnumeric_cyrillic_biff7.xls');  // code page 1251
    assert.deepEqual(cyrillic.names, ['Продажи №', 'Дата']);
    assert.deepEqual(cyrillic.labels, ['Москва', 'Київ', 'Мінськ Ёлка']);
    assertSameDiagram('sales.xls', readFileSync(new URL('gnumeric_sales_biff7.xls', data)));
  });

  test('a range and a header mode reach the reader', () => {
    const table = kestra.readTable('a,b,c\n1,2,3\n4,5,6\n', 'x.csv', {range: 'B1:C3', header: 'rows'});
    assert.deepEqual(table.labels, ['b', 'c']);
    assert.deepEqual(table.values, [[2, 3], [5, 6]]);
  });

  test('a file that holds no table fails as on the command line', () => {
    const name = 'empty.html';
    writeFileSync(join(folder, name), '<p>no table here</p>');
    const native = nativeErrors(['table', join(folder, name)]);
    assert.throws(() => kestra.readTable('<p>no table here</p>', name), (error) => {
      assert.equal(error.message, native.stderr.trimEnd().replace(join(folder, name), name));
      assert.ok(error.status >= 1000);
      return true;
    });
  });
});

describe('refusals', () => {
  test('a refused expression gives the status, reason and caret of the command line', () => {
    const expression = 'y=sin(x*2';
    const native = nativeErrors(['plot', expression, '-o', join(tmpdir(), 'never.png')]);
    assert.equal(native.status, 1);
    assert.throws(() => kestra.plot(expression), (error) => {
      assert.equal(error.status, 1006);
      assert.equal(error.message, native.stderr.trimEnd());
      assert.match(error.message, /\n {2}y=sin\(x\*2\n {2}\s*\^$/);
      return true;
    });
  });

  test('ignored characters are warned about as on the command line', () => {
    const native = nativeErrors(['plot', 'y=x^-1', '-o', join(tmpdir(), 'kestra-web-warning.bmp')]);
    rmSync(join(tmpdir(), 'kestra-web-warning.bmp'), {force: true});
    assert.deepEqual(kestra.plot('y=x^-1').warnings, native.stderr.trimEnd().split('\n'));
  });

  test('options the command line refuses are a TypeError', () => {
    assert.throws(() => kestra.diagram({values: sales, divisions: 5000}), TypeError);
    assert.throws(() => kestra.diagram({values: sales, noSuchOption: true}), TypeError);
    assert.throws(() => kestra.diagram({values: sales, names: ['a', 'b', 'c', 'd']}), /4 names/);
    assert.throws(() => kestra.diagram({values: [[1, 2], [3]]}), TypeError);
    assert.throws(() => kestra.diagram({}), TypeError);
  });

  test('a failed call leaves the next one unharmed', () => {
    assert.throws(() => kestra.plot('y=('));
    assertSamePicture(kestra.example(), nativePicture(['example']));
  });
});

test('10,000 calls keep no memory', () => {
  const call = (i) => {
    if (i % 3 === 0) kestra.diagram({values: [[i % 7, 2, 3]], width: 64, height: 48});
    else if (i % 3 === 1) kestra.plot('y=x*' + (i % 5), {width: 48, height: 32});
    else assert.throws(() => kestra.plot('y=x+'));
  };
  // Measured after a refusal each time: the last call's picture is held until the next call.
  const heapAfter = (calls) => {
    for (let i = 0; i < calls; ++i) call(i);
    assert.throws(() => kestra.plot('y=x+'));
    return kestra.heapInUse();
  };
  const settled = heapAfter(300);
  assert.ok(heapAfter(10000) <= settled, `${kestra.heapInUse()} bytes in use, ${settled} before`);
});
