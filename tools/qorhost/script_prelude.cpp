// The prelude script: the `host` object over the native host, and dispatch objects as
// proxies whose property reads, writes and calls go to their members by name.
#include "tools/qorhost/script_prelude.h"

std::string_view ScriptPrelude() {
    return R"js((function (native) {
    'use strict';
    // What a native member read answers for a member that is called rather than read.
    const callable = Object.freeze({});

    class Ref {
        constructor(value) {
            this.value = value;
        }
    }

    // Names the engine and the library look up on any object (JSON.stringify, promises,
    // conversions): a dispatch object answers them as a plain object would instead of asking
    // its members, which would fail.
    const objectNames = new Set(['toJSON', 'then', 'valueOf', 'constructor', 'toLocaleString',
        'hasOwnProperty', 'isPrototypeOf', 'propertyIsEnumerable', '__proto__']);

    // An arrow function as the target: callable (for the default member) and without the
    // fixed properties a proxy would have to report.
    function wrap(object) {
        return new Proxy(() => {}, {
            get(target, key) {
                if (key === '__native') {
                    return object;
                }
                if (typeof key === 'symbol' || objectNames.has(key)) {
                    return undefined;
                }
                if (key === 'toString') {
                    return () => '[object Dispatch]';
                }
                const value = object.member(key);
                return value === callable ? (...args) => object.call(key, args) : value;
            },
            set(target, key, value) {
                if (typeof key === 'symbol') {
                    return false;
                }
                object.put(key, value);
                return true;
            },
            has(target, key) {
                return typeof key === 'string' && object.has(key);
            },
            apply(target, self, args) {
                return object.call('', args);
            },
        });
    }

    function text(value) {
        if (typeof value === 'string') {
            return value;
        }
        if (value === null || typeof value !== 'object' || value instanceof Date) {
            return String(value);
        }
        try {
            return JSON.stringify(value);
        } catch (e) {
            return String(value);
        }
    }

    const optionalText = (value) => (value === undefined ? '' : String(value));

    const host = Object.freeze({
        args: Object.freeze(native.args()),
        env: (name) => native.env(String(name)),
        createObject: (progId) => native.createObject(String(progId)),
        createControl: (progId, x, y, width, height) =>
            native.createControl(String(progId), Number(x), Number(y), Number(width),
                                 Number(height)),
        button: (label, x, y, width, height, run) =>
            native.button(String(label), Number(x), Number(y), Number(width), Number(height), run),
        ref: (value) => new Ref(value),
        key: (control, name) => native.key(control, String(name)),
        type: (control, typed) => native.type(control, String(typed)),
        click: (control, x, y, modifiers) =>
            native.click(control, Number(x), Number(y), optionalText(modifiers)),
        pixel: (control, x, y) => native.pixel(control, Number(x), Number(y)),
        screenshot: (control, path) => native.screenshot(control, String(path)),
        properties: (control) => native.properties(control),
        wait: (milliseconds) => native.wait(Number(milliseconds)),
        waitForClose: () => native.waitForClose(),
        log: (...values) => native.log(values.map(text).join(' ')),
        exit: (code) => native.exit(code === undefined ? 0 : Number(code)),
        onModal: (run) => native.onModal(run),
        dialogs: Object.freeze({
            answer: (answer) => native.answerDialog(answer),
            shown: () => native.shownDialogs(),
            clear: () => native.clearShownDialogs(),
        }),
    });

    return { host, wrap, Ref, callable };
}))js";
}
