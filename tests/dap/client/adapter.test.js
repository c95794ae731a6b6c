// tessaly-dap driven by Microsoft's own test client for debug adapters
// (DebugClient from @vscode/debugadapter-testsupport), as an editor drives it.
// TESSALY_DAP names the adapter to test; TESSALY_SOURCE_DIR the source tree.
'use strict';

const assert = require('assert');
const cp = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { DebugClient } = require('@vscode/debugadapter-testsupport');

const adapter = process.env.TESSALY_DAP;
const root = process.env.TESSALY_SOURCE_DIR || path.resolve(__dirname, '../../..');
if (!adapter) throw new Error('TESSALY_DAP must name the tessaly-dap to test');

const example = path.join(root, 'examples/c-printf');
const program = path.join(example, 'c-printf.ihx');
const source = path.join(example, 'c-printf.c');
const cPrintf = { program, hardwareSerial: true, crystal: '11.0592M' };

// Disconnects and waits for the adapter process to end; its exit status.
async function endCleanly(dc) {
  const adapterProcess = dc._adapterProcess;
  const exited = new Promise((resolve) => adapterProcess.on('exit', (code) => resolve(code)));
  await dc.disconnectRequest({});
  dc.ended = true;
  return exited;
}

function client() {
  const dc = new DebugClient(adapter, '--stdio', 'tessaly');
  dc.defaultTimeout = 10000;
  return dc;
}

// Collects the output events of one category from now on.
function collect(dc, category) {
  const seen = { text: '' };
  dc.on('output', (event) => {
    if (event.body.category === category) seen.text += event.body.output;
  });
  return seen;
}

async function waitFor(predicate, what, ms = 10000) {
  const end = Date.now() + ms;
  while (!predicate()) {
    if (Date.now() > end) throw new Error('timed out waiting for ' + what);
    await new Promise((resolve) => setTimeout(resolve, 10));
  }
}

async function rejection(promise) {
  try {
    await promise;
  } catch (error) {
    return error.message;
  }
  throw new Error('the request succeeded');
}

// Sends a request that runs the program and waits for the stop it ends in
// (listening first: the stop may come in the same read as the response).
async function stopAfter(dc, request) {
  const stopped = dc.waitForEvent('stopped');
  await request();
  return stopped;
}

async function variablesOf(dc, reference, format) {
  const response = await dc.variablesRequest({ variablesReference: reference, format });
  const values = {};
  for (const v of response.body.variables) values[v.name] = v;
  return values;
}

async function scopesOf(dc, frameId = 1) {
  const response = await dc.scopesRequest({ frameId });
  const scopes = {};
  for (const s of response.body.scopes) scopes[s.name] = s.variablesReference;
  return scopes;
}

async function topFrame(dc) {
  const trace = await dc.stackTraceRequest({ threadId: 1 });
  return trace.body.stackFrames[0];
}

// Launches, sets the break points once the adapter asks for them, and waits
// for the first stop.
async function launchTo(dc, launchArgs, breakpoints, reason = 'breakpoint') {
  const stopped = dc.waitForEvent('stopped');
  await Promise.all([
    dc.waitForEvent('initialized').then(async () => {
      if (breakpoints.lines) {
        await dc.setBreakpointsRequest({
          source: { path: breakpoints.path || source },
          breakpoints: breakpoints.lines.map((line) => ({ line })),
        });
      }
      if (breakpoints.functions) {
        await dc.setFunctionBreakpointsRequest({ breakpoints: breakpoints.functions.map((name) => ({ name })) });
      }
      if (breakpoints.instructions) {
        await dc.customRequest('setInstructionBreakpoints', {
          breakpoints: breakpoints.instructions.map((instructionReference) => ({ instructionReference })),
        });
      }
      return dc.configurationDoneRequest();
    }),
    dc.initializeRequest({ adapterID: 'tessaly', linesStartAt1: true, columnsStartAt1: true }).then(() =>
      dc.launchRequest(launchArgs)),
  ]);
  const event = await stopped;
  assert.strictEqual(event.body.reason, reason);
  return event;
}

describe('tessaly-dap with examples/c-printf', function () {
  let dc;
  beforeEach(() => {
    dc = client();
    return dc.start();
  });
  afterEach(() => (dc.ended ? undefined : dc.stop()));

  it('announces its requests', async () => {
    const response = await dc.initializeRequest({ adapterID: 'tessaly' });
    const c = response.body;
    for (const name of ['supportsConfigurationDoneRequest', 'supportsFunctionBreakpoints',
      'supportsInstructionBreakpoints', 'supportsSetVariable', 'supportsReadMemoryRequest',
      'supportsWriteMemoryRequest', 'supportsDisassembleRequest', 'supportsLoadedSourcesRequest',
      'supportsTerminateRequest', 'supportsValueFormattingOptions', 'supportsConditionalBreakpoints',
      'supportsHitConditionalBreakpoints', 'supportsDataBreakpoints', 'supportsStepBack']) {
      assert.strictEqual(c[name], true, name);
    }
  });

  it('stops at a C line, reads locals and registers, steps over and into and out', async () => {
    const stdout = collect(dc, 'stdout');
    await launchTo(dc, cPrintf, { lines: [44] });
    let frame = await topFrame(dc);
    assert.strictEqual(frame.name, 'main');
    assert.strictEqual(frame.line, 44);
    assert.strictEqual(frame.source.path, source);

    // Before the first printf: the initialisers of lines 40 and 41 have run.
    const scopes = await scopesOf(dc);
    assert.deepStrictEqual(Object.keys(scopes), ['Locals', 'Globals', 'Registers', 'SFRs', 'Interrupts in progress']);
    const locals = await variablesOf(dc, scopes.Locals);
    assert.strictEqual(locals.factorial.value, '1');
    assert.strictEqual(locals.factorial.type, 'unsigned long');
    assert.strictEqual(locals.b.value, '1');
    assert.strictEqual(locals.a.value, '0');
    const hex = await variablesOf(dc, scopes.Locals, { hex: true });
    assert.strictEqual(hex.factorial.value, '0x00000001');
    assert.strictEqual(hex.b.value, '0x0001');

    // The registers agree with the memory they live in: SP and R0-R7 of bank 0.
    const registers = await variablesOf(dc, scopes.Registers);
    assert.deepStrictEqual(Object.keys(registers),
      ['ACC', 'B', 'PSW', 'SP', 'DPTR', 'R0', 'R1', 'R2', 'R3', 'R4', 'R5', 'R6', 'R7', 'PC']);
    assert.strictEqual(registers.PC.value, frame.instructionPointerReference);
    const memory = await dc.customRequest('readMemory', { memoryReference: 'data', offset: 0, count: 8 });
    const bank0 = Buffer.from(memory.body.data, 'base64');
    for (let n = 0; n < 8; n++) {
      assert.strictEqual(registers['R' + n].value, '0x' + bank0[n].toString(16).toUpperCase().padStart(2, '0'));
    }
    // SP is also a C variable of the program (8052.h declares the SFRs).
    const sp = await dc.evaluateRequest({ expression: 'SP', frameId: frame.id, format: { hex: true } });
    assert.strictEqual(sp.body.result, registers.SP.value);
    assert.strictEqual(sp.body.type, 'unsigned char');
    const carry = await dc.evaluateRequest({ expression: 'PSW.7', frameId: frame.id });
    assert.strictEqual(carry.body.result, (parseInt(registers.PSW.value, 16) >> 7).toString());
    const psw = await variablesOf(dc, registers.PSW.variablesReference);
    assert.deepStrictEqual(Object.keys(psw), ['CY', 'AC', 'F0', 'RS1', 'RS0', 'OV', 'PSW.1', 'P']);

    // Into the printf of line 44: printf has no source, so the step goes on
    // into the putchar it calls, past putchar's prologue.
    assert.strictEqual((await stopAfter(dc, () => dc.stepInRequest({ threadId: 1 }))).body.reason, 'step');
    const trace = await dc.stackTraceRequest({ threadId: 1 });
    const frames = trace.body.stackFrames;
    // putchar, called through printf's formatter (library code without C
    // source, named after the nearest label and shown in the disassembly),
    // called from main's line 44.
    assert.deepStrictEqual(frames.map((f) => [f.name, f.source.sourceReference ? 'disassembly' : f.line]),
      [['putchar', 21], ['__mullong_dummy+121', 'disassembly'], ['_printf+50', 'disassembly'],
        ['__print_format+1603', 'disassembly'], ['_printf+36', 'disassembly'], ['main', 44]]);
    assert.strictEqual(frames[0].source.path, source);
    assert.strictEqual(stdout.text, '');

    // Out of putchar, through the rest of printf, to main's next line.
    assert.strictEqual((await stopAfter(dc, () => dc.stepOutRequest({ threadId: 1 }))).body.reason, 'step');
    frame = await topFrame(dc);
    assert.strictEqual(frame.name, 'main');
    assert.strictEqual(frame.line, 45);
    assert.strictEqual(stdout.text, 'Tessaly C example: factorials and Fibonacci numbers\r\n');

    // Over: into the loop's body, where n is 1.
    assert.strictEqual((await stopAfter(dc, () => dc.nextRequest({ threadId: 1 }))).body.reason, 'step');
    frame = await topFrame(dc);
    assert.strictEqual(frame.line, 46);
    const inLoop = await variablesOf(dc, (await scopesOf(dc)).Locals);
    assert.strictEqual(inLoop.n.value, '1');
  });

  it('sets a variable, and the program prints the new value', async () => {
    const stdout = collect(dc, 'stdout');
    await launchTo(dc, cPrintf, { lines: [47] });
    const locals = (await scopesOf(dc)).Locals;
    const set = await dc.setVariableRequest({ variablesReference: locals, name: 'b', value: '1000' });
    assert.strictEqual(set.body.value, '1000');
    assert.strictEqual(await rejection(dc.setVariableRequest({ variablesReference: locals, name: 'n', value: '300' })),
      '300 is out of range for unsigned char (0 to 255)');
    assert.strictEqual(await rejection(dc.setVariableRequest({ variablesReference: locals, name: 'n', value: 'abc' })),
      "'abc' is not a number");
    // A register through the registers scope: R7 of bank 0 is RAM byte 7.
    const registers = (await scopesOf(dc)).Registers;
    await dc.setVariableRequest({ variablesReference: registers, name: 'R7', value: '0x5A' });
    const byte7 = await dc.customRequest('readMemory', { memoryReference: 'data:0x07', count: 1 });
    assert.strictEqual(Buffer.from(byte7.body.data, 'base64')[0], 0x5A);

    await dc.setBreakpointsRequest({ source: { path: source }, breakpoints: [] });
    await dc.continueRequest({ threadId: 1 });
    await waitFor(() => stdout.text.includes('done\r\n'), 'the end of the output');
    const lines = stdout.text.split('\r\n');
    assert.strictEqual(lines[1], ' 1! =         1   fib( 1) = 1000 (0x03E8)');
    // The sequence goes on from the new value: a = 1000, b = next = 1.
    assert.strictEqual(lines[2], ' 2! =         2   fib( 2) =   1 (0x0001)');
    assert.strictEqual(lines[3], ' 3! =         6   fib( 3) = 1001 (0x03E9)');
  });

  it('reads and writes memory and disassembles around the PC', async () => {
    await launchTo(dc, cPrintf, { functions: ['main'] }, 'function breakpoint');
    const frame = await topFrame(dc);
    assert.strictEqual(frame.line, 40);
    // factorial is an unsigned long in data memory; its address is in the
    // variable's memory reference.
    const locals = await variablesOf(dc, (await scopesOf(dc)).Locals);
    const reference = locals.factorial.memoryReference;
    assert.match(reference, /^idata:0x[0-9A-F]{2}$/);

    const written = await dc.customRequest('writeMemory', { memoryReference: reference, data: Buffer.from([0x78, 0x56, 0x34, 0x12]).toString('base64') });
    assert.strictEqual(written.body.bytesWritten, 4);
    const value = await dc.evaluateRequest({ expression: 'factorial', frameId: frame.id, format: { hex: true } });
    assert.strictEqual(value.body.result, '0x12345678');
    const read = await dc.customRequest('readMemory', { memoryReference: reference, offset: 1, count: 2 });
    assert.deepStrictEqual([...Buffer.from(read.body.data, 'base64')], [0x56, 0x34]);

    // The end of external RAM: what lies past it is unreadable.
    await dc.customRequest('writeMemory', { memoryReference: 'xdata', offset: 0xFFFE, data: Buffer.from([1, 2]).toString('base64') });
    const end = await dc.customRequest('readMemory', { memoryReference: 'xdata:0xFFFE', count: 4 });
    assert.deepStrictEqual([...Buffer.from(end.body.data, 'base64')], [1, 2]);
    assert.strictEqual(end.body.unreadableBytes, 2);
    assert.strictEqual((await dc.evaluateRequest({ expression: 'X:0FFFFH' })).body.result, '0x02');
    assert.strictEqual(await rejection(dc.customRequest('writeMemory', { memoryReference: 'code', data: 'AA==' })),
      'code memory is read-only');

    const listing = await dc.disassembleRequest({ memoryReference: frame.instructionPointerReference, instructionOffset: -2, instructionCount: 5 });
    const rows = listing.body.instructions;
    assert.strictEqual(rows.length, 5);
    assert.strictEqual(rows[2].address, frame.instructionPointerReference);
    assert.strictEqual(rows[2].line, 40);
    assert.strictEqual(rows[2].location.path, source);
    // Addresses rise by each instruction's length.
    for (let i = 1; i < rows.length; i++) {
      const length = rows[i - 1].instructionBytes.split(' ').length;
      assert.strictEqual(parseInt(rows[i].address, 16), parseInt(rows[i - 1].address, 16) + length);
    }
    const start = await dc.disassembleRequest({ memoryReference: '0x0000', instructionCount: 1 });
    assert.strictEqual(start.body.instructions[0].instructionBytes.split(' ')[0], '02');
    assert.match(start.body.instructions[0].instruction, /^LJMP\s+/);
  });

  it('pauses a free run and ends cleanly', async () => {
    const stdout = collect(dc, 'stdout');
    await Promise.all([
      dc.configurationSequence(),
      dc.launch(cPrintf),
    ]);
    await waitFor(() => stdout.text.includes('done\r\n'), 'the end of the output');
    // The program now spins in its final while (1).
    const stopped = dc.waitForEvent('stopped');
    await dc.pauseRequest({ threadId: 1 });
    assert.strictEqual((await stopped).body.reason, 'pause');
    const frame = await topFrame(dc);
    assert.strictEqual(frame.name, 'main');
    assert.strictEqual(frame.line, 54, 'the while (1) that ends main');
    const threads = await dc.threadsRequest();
    assert.deepStrictEqual(threads.body.threads, [{ id: 1, name: '8051' }]);
    assert.strictEqual(await endCleanly(dc), 0);
  });

  it('stops at function and instruction break points with their reasons', async () => {
    await launchTo(dc, cPrintf, { functions: ['putchar', 'nosuch'] }, 'function breakpoint');
    assert.strictEqual((await topFrame(dc)).name, 'putchar');
    const pc = (await topFrame(dc)).instructionPointerReference;
    await dc.setFunctionBreakpointsRequest({ breakpoints: [] });
    const set = await dc.customRequest('setInstructionBreakpoints', { breakpoints: [{ instructionReference: pc }] });
    assert.strictEqual(set.body.breakpoints[0].verified, true);
    const stopped = await stopAfter(dc, () => dc.continueRequest({ threadId: 1 }));
    assert.strictEqual(stopped.body.reason, 'instruction breakpoint');
    assert.deepStrictEqual(stopped.body.hitBreakpointIds, [set.body.breakpoints[0].id]);
  });

  it('stops at a conditional line only when it holds, and on a data break point with its values', async () => {
    const stopped = dc.waitForEvent('stopped');
    await Promise.all([
      dc.waitForEvent('initialized').then(async () => {
        const set = await dc.setBreakpointsRequest({
          source: { path: source },
          breakpoints: [{ line: 50, condition: 'n == 4' }, { line: 51, condition: 'n = 4' }],
        });
        assert.strictEqual(set.body.breakpoints[0].verified, true);
        assert.strictEqual(set.body.breakpoints[1].verified, false);
        assert.match(set.body.breakpoints[1].message, /a condition is LOCATION OP VALUE/);
        return dc.configurationDoneRequest();
      }),
      dc.initializeRequest({ adapterID: 'tessaly' }).then(() => dc.launchRequest(cPrintf)),
    ]);
    assert.strictEqual((await stopped).body.reason, 'breakpoint');
    const locals = await variablesOf(dc, (await scopesOf(dc)).Locals);
    assert.strictEqual(locals.n.value, '4');

    // Who writes b next? Line 51, with the next Fibonacci number.
    const info = await dc.customRequest('dataBreakpointInfo', { variablesReference: (await scopesOf(dc)).Locals, name: 'b' });
    assert.strictEqual(info.body.dataId, 'b');
    assert.deepStrictEqual(info.body.accessTypes, ['read', 'write', 'readWrite']);
    const none = await dc.customRequest('dataBreakpointInfo', { name: 'nosuch' });
    assert.strictEqual(none.body.dataId, null);
    await dc.setBreakpointsRequest({ source: { path: source }, breakpoints: [] });
    const set = await dc.customRequest('setDataBreakpoints', { breakpoints: [{ dataId: 'b', accessType: 'write' }] });
    assert.strictEqual(set.body.breakpoints[0].verified, true);
    const hit = await stopAfter(dc, () => dc.continueRequest({ threadId: 1 }));
    assert.strictEqual(hit.body.reason, 'data breakpoint');
    assert.deepStrictEqual(hit.body.hitBreakpointIds, [set.body.breakpoints[0].id]);
    assert.match(hit.body.description, /^Data break point: b written 0003 -> 0005 at [0-9A-F]{4}H$/);
    assert.strictEqual((await topFrame(dc)).line, 51);
  });

  it('goes back: in reverse to the previous hit, a line back, and no further than history', async () => {
    const stdout = collect(dc, 'stdout');
    await launchTo(dc, cPrintf, { lines: [50] });
    for (let n = 2; n <= 3; n++) {
      assert.strictEqual((await stopAfter(dc, () => dc.continueRequest({ threadId: 1 }))).body.reason, 'breakpoint');
    }
    const printed = stdout.text;
    assert.strictEqual((await variablesOf(dc, (await scopesOf(dc)).Locals)).n.value, '3');

    const back = await stopAfter(dc, () => dc.customRequest('reverseContinue', { threadId: 1 }));
    assert.strictEqual(back.body.reason, 'breakpoint');
    assert.strictEqual((await topFrame(dc)).line, 50);
    assert.strictEqual((await variablesOf(dc, (await scopesOf(dc)).Locals)).n.value, '2');

    // A line back from a = b: the printf of the line before, run over.
    assert.strictEqual((await stopAfter(dc, () => dc.customRequest('stepBack', { threadId: 1 }))).body.reason, 'step');
    const frame = await topFrame(dc);
    assert.strictEqual(frame.name, 'main');
    assert.strictEqual(frame.line, 48);

    // Forward again: the same output as the first time, sent once more.
    assert.strictEqual((await stopAfter(dc, () => dc.continueRequest({ threadId: 1 }))).body.reason, 'breakpoint');
    assert.strictEqual((await variablesOf(dc, (await scopesOf(dc)).Locals)).n.value, '2');
    assert.strictEqual(stdout.text, printed + ' 2! =         2   fib( 2) =   1 (0x0001)\r\n');

    // With no break point before, back to where history starts.
    await dc.setBreakpointsRequest({ source: { path: source }, breakpoints: [] });
    const start = await stopAfter(dc, () => dc.customRequest('reverseContinue', { threadId: 1 }));
    assert.strictEqual(start.body.description, 'History starts at instruction 0');
    assert.strictEqual((await topFrame(dc)).instructionPointerReference, '0x0000');
  });

  it('answers bad requests with the messages the desktop shows', async () => {
    await dc.initializeRequest({ adapterID: 'tessaly' });
    assert.strictEqual(await rejection(dc.customRequest('flyToTheMoon')), "Unknown request 'flyToTheMoon'");
    assert.strictEqual(await rejection(dc.launchRequest({})), "'program' is missing");
    assert.strictEqual(await rejection(dc.launchRequest({ program: 42 })), "'program' must be a string");
    assert.strictEqual(await rejection(dc.stackTraceRequest({ threadId: 1 })), 'No program is launched');
    const missing = path.join(os.tmpdir(), 'tessaly-no-such-program.hex');
    const message = await rejection(dc.launchRequest({ program: missing }));
    assert.ok(message.includes('An error occured while loading data from file( 0 )'), message);
    // A program that fails to load leaves the adapter ready for another.
    await dc.launchRequest(cPrintf);
    const lines = await dc.setBreakpointsRequest({ source: { path: source }, breakpoints: [{ line: 42 }, { line: 57 }, { line: 0 }] });
    const [blank, past, zero] = lines.body.breakpoints;
    assert.strictEqual(blank.verified, true);
    assert.strictEqual(blank.line, 43, 'a line without code moves to the next line with code');
    assert.strictEqual(past.verified, false);
    assert.strictEqual(past.message, 'No code at or after line 57 of c-printf.c');
    assert.strictEqual(zero.verified, false);
    assert.strictEqual(await rejection(dc.scopesRequest({})), "'frameId' is missing");
    assert.strictEqual(await rejection(dc.evaluateRequest({ expression: 'nosuch', frameId: 1 })), "No variable named 'nosuch'");
    assert.strictEqual(await rejection(dc.customRequest('readMemory', { memoryReference: 'flash', count: 1 })),
      "'flash' is not a memory reference (code, data, idata or xdata, with an optional :ADDRESS)");
    assert.strictEqual(await rejection(dc.variablesRequest({ variablesReference: 999 })), 'No variables with reference 999');
    assert.strictEqual(await rejection(dc.customRequest('readMemory', { memoryReference: 'xdata', offset: 2 ** 60, count: 1 })),
      "'offset' must be from -16777216 to 16777216");
    assert.strictEqual(await endCleanly(dc), 0);
  });
});

describe('tessaly-dap with assembler programs', function () {
  let dc;
  beforeEach(() => {
    dc = client();
    return dc.start();
  });
  afterEach(() => (dc.ended ? undefined : dc.stop()));

  it('breaks on a line of the listing and stops at the final self-loop', async () => {
    const hello = path.join(root, 'examples/hello');
    const listing = path.join(hello, 'hello.lst');
    const lines = fs.readFileSync(listing, 'latin1').split('\n');
    const putc = lines.findIndex((line) => /^[0-9A-F]{4}: [0-9A-F ]+putc:/.test(line)) + 1;
    assert.ok(putc > 0);
    await launchTo(dc, { program: path.join(hello, 'hello.hex'), crystal: 11059200, stopOnSelfLoop: true },
      { path: listing, lines: [putc] });
    const frame = await topFrame(dc);
    assert.strictEqual(frame.source.path, listing);
    assert.strictEqual(frame.line, putc);
    assert.strictEqual(frame.name, 'PUTC', 'as the listing\'s symbol table names it');

    const stdout = collect(dc, 'stdout');
    await dc.setBreakpointsRequest({ source: { path: listing }, breakpoints: [] });
    const exited = dc.waitForEvent('exited');
    const terminated = dc.waitForEvent('terminated');
    await dc.continueRequest({ threadId: 1 });
    assert.strictEqual((await exited).body.exitCode, 0);
    await terminated;
    assert.ok(stdout.text.length > 0);
  });

  it('feeds serial input to the receiver and stops on entry in the disassembly', async () => {
    // An echo that adds one: waits for RI, sends SBUF + 1.
    const code = [0x75, 0x89, 0x20, 0x75, 0x8D, 0xFD, 0xD2, 0x8E, 0x75, 0x98, 0x50, 0x30, 0x98, 0xFD, 0xC2, 0x98,
      0xE5, 0x99, 0x04, 0xF5, 0x99, 0x30, 0x99, 0xFD, 0xC2, 0x99, 0x80, 0xEF];
    const record = [code.length, 0, 0, 0, ...code];
    const checksum = (0x100 - (record.reduce((a, b) => a + b, 0) & 0xFF)) & 0xFF;
    const hex = ':' + [...record, checksum].map((b) => b.toString(16).toUpperCase().padStart(2, '0')).join('') + '\n:00000001FF\n';
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'tessaly-dap-'));
    const file = path.join(dir, 'echo.hex');
    fs.writeFileSync(file, hex);
    try {
      await launchTo(dc, { program: file, crystal: '11.0592M', serialInput: 'HAL', stopOnEntry: true }, {}, 'entry');
      const frame = await topFrame(dc);
      assert.strictEqual(frame.instructionPointerReference, '0x0000');
      assert.strictEqual(frame.source.sourceReference, 1);
      const listing = await dc.sourceRequest({ sourceReference: 1 });
      const first = listing.body.content.split('\n')[frame.line - 1];
      assert.match(first, /^0000H  75 89 20\s+MOV\s+TMOD,#020H$/);
      const stdout = collect(dc, 'stdout');
      await dc.continueRequest({ threadId: 1 });
      await waitFor(() => stdout.text.length >= 3, 'the echo');
      assert.strictEqual(stdout.text, 'IBM');
      const stopped = dc.waitForEvent('stopped');
      await dc.pauseRequest({ threadId: 1 });
      await stopped;
      await dc.terminateRequest({});
    } finally {
      fs.rmSync(dir, { recursive: true, force: true });
    }
  });
  it('stops with the error when the program meets one', async () => {
    // NOP, a reserved opcode (A5h), then a jump to itself.
    const code = [0x00, 0xA5, 0x80, 0xFE];
    const record = [code.length, 0, 0, 0, ...code];
    const checksum = (0x100 - (record.reduce((a, b) => a + b, 0) & 0xFF)) & 0xFF;
    const hex = ':' + [...record, checksum].map((b) => b.toString(16).toUpperCase().padStart(2, '0')).join('') + '\n:00000001FF\n';
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'tessaly-dap-'));
    const file = path.join(dir, 'reserved.hex');
    fs.writeFileSync(file, hex);
    try {
      const console = collect(dc, 'console');
      const stopped = await launchTo(dc, { program: file }, {}, 'exception');
      assert.strictEqual(stopped.body.text, 'Reserved Opcode encountered');
      assert.ok(console.text.includes('Error: Reserved Opcode encountered\n'), console.text);
      // The run goes on from there when asked, and the error is not repeated.
      const paused = await stopAfter(dc, async () => {
        await dc.continueRequest({ threadId: 1 });
        await dc.pauseRequest({ threadId: 1 });
      });
      assert.strictEqual(paused.body.reason, 'pause');
      assert.strictEqual((await topFrame(dc)).instructionPointerReference, '0x0002');
    } finally {
      fs.rmSync(dir, { recursive: true, force: true });
    }
  });
});

describe('tessaly-dap on a port', function () {
  it('serves a client that connects to 127.0.0.1', async () => {
    const port = 40000 + (process.pid % 20000);
    const server = cp.spawn(adapter, ['--port', String(port)]);
    const exited = new Promise((resolve) => server.on('exit', resolve));
    // It says on standard error when it listens.
    await new Promise((resolve, reject) => {
      let said = '';
      server.stderr.on('data', (data) => {
        said += data;
        if (said.includes('listening on 127.0.0.1:' + port)) resolve();
      });
      server.on('exit', () => reject(new Error('tessaly-dap ended: ' + said)));
    });
    const dc = client();
    await dc.start(port);
    const response = await dc.initializeRequest({ adapterID: 'tessaly' });
    assert.strictEqual(response.body.supportsDisassembleRequest, true);
    await dc.disconnectRequest({});
    assert.strictEqual(await exited, 0);
    dc.stopAdapter();  // closes the socket; the adapter has ended already
  });
});
