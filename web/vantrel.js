// vantrel.js: the page side of vantrel-agent, the Vantrel control running on the user's PC.
//
//   const ctrl = await Vantrel.connect({port: 47810, params: {UIConfigXML: "/ui.xml"}});
//   ctrl.OnLoadCompleat.connect(() => console.log("loaded"));
//   const disks = await ctrl.GetDiskCount();
//
// `ctrl` carries exactly the control's scripting face: its properties (read and assigned as
// usual), its methods (each returns a promise of its result) and its events (connect and
// disconnect a handler). See the README for the whole contract.
//
// The repository keeps this file without Qt's channel client; the build puts Qt's own
// qwebchannel.js in at the marker line below and writes build/web/vantrel.js, which is the
// file to serve.
(function (global) {
    "use strict";

/* qwebchannel.js */

    const DEFAULT_PORT = 47810;
    // Reading this property is an error of the control, as it is for an embedding page.
    const WRITE_ONLY = new Set(["FileAttachViewMode"]);
    // Each face's socket and the agent's own object beside it.
    const links = new WeakMap();

    // The face over the channel's object, from the agent's description of it: nothing more.
    function makeFace(remote, description) {
        const face = {};
        const readOnly = new Set(description.readOnly);
        for (const name of description.properties) {
            Object.defineProperty(face, name, {
                enumerable: true,
                get() {
                    if (WRITE_ONLY.has(name))
                        throw new TypeError(`Property "${name}" is write-only`);
                    return remote[name];
                },
                set(value) {
                    if (readOnly.has(name))
                        throw new TypeError(`Cannot assign to read-only property "${name}"`);
                    remote[name] = value;
                },
            });
        }
        for (const [name, count] of Object.entries(description.methods)) {
            face[name] = function (...args) {
                if (args.length < count)
                    return Promise.reject(new TypeError(
                        `${name} takes ${count} argument(s), got ${args.length}`));
                return remote[name](...args.slice(0, count));
            };
        }
        for (const name of description.events) {
            face[name] = Object.freeze({
                connect: (handler) => remote[name].connect(handler),
                disconnect: (handler) => remote[name].disconnect(handler),
            });
        }
        return Object.freeze(face);
    }

    // Resolves to the face once the agent has accepted the page. Unless `options.start` is
    // false, the control starts (its window shows and the start-up document load begins) in a
    // task after the one that resolved, so handlers attached right after `await connect()`
    // hear OnXMLLoadCompleat and OnLoadCompleat; with false the page calls Vantrel.start(ctrl).
    function connect(options = {}) {
        const port = options.port || DEFAULT_PORT;
        return new Promise((resolve, reject) => {
            let settled = false;
            const fail = (message) => {
                if (!settled) {
                    settled = true;
                    reject(new Error(message));
                }
            };
            const socket = new WebSocket(`ws://127.0.0.1:${port}/`);
            socket.onerror = () => fail(`no connection to vantrel-agent on port ${port}` +
                                        " (not running, or this origin is not allowed)");
            socket.onclose = (event) => fail(event.reason
                ? `vantrel-agent refused the page: ${event.reason}`
                : "vantrel-agent closed the connection");
            socket.onopen = () => socket.send(JSON.stringify({
                vantrel: "hello",
                page: location.href,
                cookie: document.cookie,
                params: options.params || {},
            }));
            socket.onmessage = (event) => {
                let reply = {};
                try {
                    reply = JSON.parse(event.data);
                } catch (error) {
                    reply = {};
                }
                if (reply.vantrel !== "ready") {
                    socket.close();
                    fail("vantrel-agent answered what this client does not know");
                    return;
                }
                const transport = {send: (data) => socket.send(data)};
                socket.onmessage = (message) => transport.onmessage(message);
                new QWebChannel(transport, (channel) => {
                    const bridge = channel.objects.vantrel;
                    const face = makeFace(channel.objects.ctrl, bridge.face);
                    links.set(face, {socket, bridge});
                    settled = true;
                    resolve(face);
                    if (options.start !== false)
                        setTimeout(() => bridge.start(), 0);
                });
            };
        });
    }

    function link(ctrl) {
        const found = links.get(ctrl);
        if (!found)
            throw new TypeError("not a control from Vantrel.connect()");
        return found;
    }

    global.Vantrel = Object.freeze({
        DEFAULT_PORT,
        connect,
        // Starts a control connected with {start: false}; later calls do nothing.
        start: (ctrl) => link(ctrl).bridge.start(),
        // Ends the connection: the agent closes the control's window.
        disconnect: (ctrl) => link(ctrl).socket.close(),
        // An addition of the bridge, one round trip for a whole folder: the `kind` entries
        // ("file" or "folder") of the server folder `serverPath` (all below it when
        // `isChild`), each an array of the fields `dataNames` as GetServerListFileItem or
        // GetServerListFolderItem answer them.
        serverListRows: (ctrl, serverPath, isChild, kind, dataNames) =>
            link(ctrl).bridge.serverListRows(serverPath, isChild, kind, dataNames),
    });
})(typeof window !== "undefined" ? window : globalThis);
