// What the DWG bridge reads of a drawing LibreDWG has decoded: the table entries and the
// entities by LibreDWG's dynamic field access (dwg_dynapi_*), named by LibreDWG's field names,
// as plain objects ready for JSON. Texts of R13 to R2004 are decoded from their bytes with the
// drawing's code page.

// m: the LibreDWG module; dwg: the decoded drawing (Dwg_Data*); decoder: a TextDecoder for the
// drawing's code page.
export function drawingReader(m, dwg, decoder) {
  // ---- Field access -------------------------------------------------------------------------

  const numObjects = m.dwg_get_num_objects(dwg);
  const indexOf = new Map();
  for (let i = 0; i < numObjects; i++) indexOf.set(m.dwg_get_object(dwg, i), i);

  const field = (tio, name) => {
    const r = m.dwg_dynapi_entity_value(tio, name);
    return r.success ? r.data : undefined;
  };
  const common = (tio, name) => {
    const r = m.dwg_dynapi_common_value(tio, name);
    return r.success ? r.data : undefined;
  };
  const sub = (ptr, cls, name) => {
    const r = m.dwg_dynapi_subclass_value(ptr, cls, name);
    return r.success ? r.data : undefined;
  };
  // Texts of R13 to R2004 are the file's bytes in its code page.
  const textOf = (r) => {
    if (!r || !r.success) return '';
    if (r.bin && r.bin.length !== undefined) return decoder.decode(r.bin);
    return typeof r.data === 'string' ? r.data : '';
  };
  const text = (tio, name) => textOf(m.dwg_dynapi_entity_value(tio, name));
  const subText = (ptr, cls, name) => textOf(m.dwg_dynapi_subclass_value(ptr, cls, name));
  const num = (x) => (typeof x === 'number' && Number.isFinite(x) ? x : 0);
  const p2 = (p) => (p ? [num(p.x), num(p.y)] : [0, 0]);
  const p3 = (p) => (p ? [num(p.x), num(p.y), num(p.z)] : [0, 0, 0]);
  const pt2 = (tio, name) => p2(field(tio, name));
  const pt3 = (tio, name) => p3(field(tio, name));
  const color = (c) => (c ? { index: c.index | 0, rgb: c.rgb >>> 0, method: c.method | 0 } : null);
  const count = (n) => (Number.isInteger(n) && n > 0 ? Math.min(n, 1 << 24) : 0);

  const objectOfRef = (ref) => (ref ? m.dwg_ref_get_object(ref) : 0);
  const tioOf = (obj) =>
    m.dwg_object_get_supertype(obj) === 0 ? m.dwg_object_to_entity_tio(obj)
      : m.dwg_object_to_object_tio(obj);
  // The name of the table entry or block a reference points to; null when it points nowhere.
  const refName = (ref) => {
    const obj = objectOfRef(ref);
    if (!obj || m.dwg_object_get_supertype(obj) !== 1) return null;
    return text(m.dwg_object_to_object_tio(obj), 'name');
  };
  // Blocks by the names a DXF export gives them: anonymous blocks, whose names a DWG keeps
  // without a number ("*D", "*U" ...), are numbered in table order per prefix, so that every
  // block has a name of its own and references find theirs.
  let blockNames = null;
  const blockNameOf = (obj) => {
    if (!blockNames) {
      blockNames = new Map();
      const next = new Map();
      for (const b of entriesOf('BLOCK_CONTROL', 'BLOCK_HEADER')) {
        let name = text(m.dwg_object_to_object_tio(b), 'name');
        if (/^\*[A-Za-z]+$/.test(name) && !/^\*(MODEL|PAPER)_SPACE$/i.test(name)) {
          const n = (next.get(name) ?? 0) + 1;
          next.set(name, n);
          name += n;
        }
        blockNames.set(b, name);
      }
    }
    return blockNames.get(obj) ?? (obj ? text(m.dwg_object_to_object_tio(obj), 'name') : null);
  };
  const blockRefName = (ref) => {
    const obj = objectOfRef(ref);
    if (!obj || m.dwg_object_get_supertype(obj) !== 1) return null;
    return blockNameOf(obj);
  };
  const refs = (ptr, n) => (ptr && count(n) ? Array.from(m.dwg_ptr_to_object_ref_ptr_array(ptr, count(n))) : []);
  const doubles = (ptr, n) => (ptr && count(n) ? Array.from(m.dwg_ptr_to_double_array(ptr, count(n)), num) : []);

  // ---- Entities -----------------------------------------------------------------------------

  const VERTEX_TYPES = new Set(['VERTEX_2D', 'VERTEX_3D', 'VERTEX_MESH', 'VERTEX_PFACE',
    'VERTEX_PFACE_FACE']);
  const SUBENTITY_TYPES = new Set([...VERTEX_TYPES, 'SEQEND', 'BLOCK', 'ENDBLK']);

  // The vertices of a POLYLINE_2D or POLYLINE_3D. R2004 lists them in the polyline; before that
  // they follow it in the object list (LibreDWG's own accessor loses the last one there).
  const vertices = (tio, vertexType, read) => {
    const list = [];
    const owned = refs(field(tio, 'vertex'), field(tio, 'num_owned'));
    if (owned.length) {
      for (const ref of owned) {
        const obj = objectOfRef(ref);
        if (obj && m.dwg_object_get_dxfname(obj) === vertexType) list.push(read(tioOf(obj)));
      }
      return list;
    }
    let i = indexOf.get(objectOfRef(field(tio, 'first_vertex')));
    const last = indexOf.get(objectOfRef(field(tio, 'last_vertex')));
    if (i === undefined) return list;
    for (; i < numObjects; i++) {
      const obj = m.dwg_get_object(dwg, i);
      if (m.dwg_object_get_dxfname(obj) !== vertexType) break;
      list.push(read(tioOf(obj)));
      if (i === last) break;
    }
    return list;
  };

  const textFields = (t, e) => {
    e.ins_pt = pt2(t, 'ins_pt');
    e.alignment_pt = pt2(t, 'alignment_pt');
    e.height = num(field(t, 'height'));
    e.rotation = num(field(t, 'rotation'));
    e.width_factor = num(field(t, 'width_factor'));
    e.oblique_angle = num(field(t, 'oblique_angle'));
    e.horiz_alignment = field(t, 'horiz_alignment') | 0;
    e.vert_alignment = field(t, 'vert_alignment') | 0;
    e.generation = field(t, 'generation') | 0;
    e.style = refName(field(t, 'style'));
    e.extrusion = pt3(t, 'extrusion');
  };

  // A dimension carries the entities of its block (anonymous blocks of dimensions have no
  // distinct names before R2004) with the block's base point; a block within its own contents
  // is not read again.
  const expandingBlocks = new Set();
  const dimensionFields = (t, e) => {
    e.def_pt = pt3(t, 'def_pt');
    e.text_midpt = pt2(t, 'text_midpt');
    e.clone_ins_pt = pt2(t, 'clone_ins_pt');
    e.user_text = text(t, 'user_text');
    e.text_rotation = num(field(t, 'text_rotation'));
    e.ins_rotation = num(field(t, 'ins_rotation'));
    e.horiz_dir = num(field(t, 'horiz_dir'));
    e.flag = field(t, 'flag') | 0;
    e.act_measurement = num(field(t, 'act_measurement'));
    e.extrusion = pt3(t, 'extrusion');
    e.dimstyle = refName(field(t, 'dimstyle'));
    e.block = blockRefName(field(t, 'block'));
    const blockObj = objectOfRef(field(t, 'block'));
    e.block_entities = [];
    if (blockObj && m.dwg_object_get_supertype(blockObj) === 1 && !expandingBlocks.has(blockObj)) {
      e.block_base = pt3(m.dwg_object_to_object_tio(blockObj), 'base_pt');
      expandingBlocks.add(blockObj);
      try {
        ownedEntities(blockObj, e.block_entities);
      } finally {
        expandingBlocks.delete(blockObj);
      }
    }
  };

  const hatchPaths = (t) => {
    const paths = [];
    const n = count(field(t, 'num_paths'));
    const base = field(t, 'paths');
    if (!base) return paths;
    const pathSize = m.dwg_dynapi_subclass_size('HATCH_Path');
    const segSize = m.dwg_dynapi_subclass_size('HATCH_PathSeg');
    const vertexSize = m.dwg_dynapi_subclass_size('HATCH_PolylinePath');
    const controlSize = m.dwg_dynapi_subclass_size('HATCH_ControlPoint');
    for (let k = 0; k < n; k++) {
      const p = base + k * pathSize;
      const flag = sub(p, 'HATCH_Path', 'flag') | 0;
      const items = count(sub(p, 'HATCH_Path', 'num_segs_or_paths'));
      const path = { flag };
      if (flag & 2) {
        path.closed = sub(p, 'HATCH_Path', 'closed') | 0;
        path.bulges_present = sub(p, 'HATCH_Path', 'bulges_present') | 0;
        path.polyline_paths = [];
        const vs = sub(p, 'HATCH_Path', 'polyline_paths');
        for (let j = 0; vs && j < items; j++) {
          const v = vs + j * vertexSize;
          const [x, y] = p2(sub(v, 'HATCH_PolylinePath', 'point'));
          path.polyline_paths.push([x, y, num(sub(v, 'HATCH_PolylinePath', 'bulge'))]);
        }
      } else {
        path.segs = [];
        const segs = sub(p, 'HATCH_Path', 'segs');
        for (let j = 0; segs && j < items; j++) {
          const s = segs + j * segSize;
          const g = (f) => sub(s, 'HATCH_PathSeg', f);
          const seg = { curve_type: g('curve_type') | 0 };
          switch (seg.curve_type) {
            case 1:
              seg.first_endpoint = p2(g('first_endpoint'));
              seg.second_endpoint = p2(g('second_endpoint'));
              break;
            case 2:
            case 3:
              seg.center = p2(g('center'));
              seg.radius = num(g('radius'));
              seg.start_angle = num(g('start_angle'));
              seg.end_angle = num(g('end_angle'));
              seg.is_ccw = g('is_ccw') | 0;
              if (seg.curve_type === 3) {
                seg.endpoint = p2(g('endpoint'));
                seg.minor_major_ratio = num(g('minor_major_ratio'));
              }
              break;
            case 4: {
              seg.degree = g('degree') | 0;
              seg.is_rational = g('is_rational') | 0;
              seg.is_periodic = g('is_periodic') | 0;
              seg.knots = doubles(g('knots'), g('num_knots'));
              seg.control_points = [];
              const cps = g('control_points');
              const nc = count(g('num_control_points'));
              for (let c = 0; cps && c < nc; c++) {
                const cp = cps + c * controlSize;
                const [x, y] = p2(sub(cp, 'HATCH_ControlPoint', 'point'));
                seg.control_points.push([x, y, num(sub(cp, 'HATCH_ControlPoint', 'weight'))]);
              }
              const nf = count(g('num_fitpts'));
              const fps = g('fitpts');
              seg.fitpts = fps && nf ? Array.from(m.dwg_ptr_to_point2d_array(fps, nf), p2) : [];
              seg.start_tangent = p2(g('start_tangent'));
              seg.end_tangent = p2(g('end_tangent'));
              break;
            }
            default:
              break;
          }
          path.segs.push(seg);
        }
      }
      paths.push(path);
    }
    return paths;
  };

  const hatchDeflines = (t) => {
    const lines = [];
    const n = count(field(t, 'num_deflines'));
    const base = field(t, 'deflines');
    if (!base) return lines;
    const size = m.dwg_dynapi_subclass_size('HATCH_DefLine');
    for (let k = 0; k < n; k++) {
      const d = base + k * size;
      lines.push({
        angle: num(sub(d, 'HATCH_DefLine', 'angle')),
        pt0: p2(sub(d, 'HATCH_DefLine', 'pt0')),
        offset: p2(sub(d, 'HATCH_DefLine', 'offset')),
        dashes: doubles(sub(d, 'HATCH_DefLine', 'dashes'), sub(d, 'HATCH_DefLine', 'num_dashes')),
      });
    }
    return lines;
  };

  // The attributes of an INSERT: listed in it for R2004, between its first and last before.
  const attribs = (t) => {
    const list = [];
    if (!field(t, 'has_attribs')) return list;
    let objs = refs(field(t, 'attribs'), field(t, 'num_owned')).map(objectOfRef);
    if (!objs.length) {
      let i = indexOf.get(objectOfRef(field(t, 'first_attrib')));
      const last = indexOf.get(objectOfRef(field(t, 'last_attrib')));
      for (; i !== undefined && i < numObjects; i++) {
        const obj = m.dwg_get_object(dwg, i);
        if (m.dwg_object_get_dxfname(obj) !== 'ATTRIB') break;
        objs.push(obj);
        if (i === last) break;
      }
    }
    for (const obj of objs) {
      if (!obj || m.dwg_object_get_dxfname(obj) !== 'ATTRIB') continue;
      const e = entity(obj, 'ATTRIB');
      if (e) list.push(e);
    }
    return list;
  };

  // Type-specific fields, by LibreDWG's type name.
  const READERS = {
    LINE: (t, e) => {
      e.start = pt3(t, 'start');
      e.end = pt3(t, 'end');
      e.extrusion = pt3(t, 'extrusion');
    },
    POINT: (t, e) => {
      e.x = num(field(t, 'x'));
      e.y = num(field(t, 'y'));
      e.z = num(field(t, 'z'));
      e.extrusion = pt3(t, 'extrusion');
    },
    CIRCLE: (t, e) => {
      e.center = pt3(t, 'center');
      e.radius = num(field(t, 'radius'));
      e.extrusion = pt3(t, 'extrusion');
    },
    ARC: (t, e) => {
      e.center = pt3(t, 'center');
      e.radius = num(field(t, 'radius'));
      e.start_angle = num(field(t, 'start_angle'));
      e.end_angle = num(field(t, 'end_angle'));
      e.extrusion = pt3(t, 'extrusion');
    },
    ELLIPSE: (t, e) => {
      e.center = pt3(t, 'center');
      e.sm_axis = pt3(t, 'sm_axis');
      e.axis_ratio = num(field(t, 'axis_ratio'));
      e.start_angle = num(field(t, 'start_angle'));
      e.end_angle = num(field(t, 'end_angle'));
      e.extrusion = pt3(t, 'extrusion');
    },
    LWPOLYLINE: (t, e) => {
      e.flag = field(t, 'flag') | 0;
      const n = count(field(t, 'num_points'));
      const pts = field(t, 'points');
      e.points = pts && n ? Array.from(m.dwg_ptr_to_point2d_array(pts, n), p2) : [];
      e.bulges = doubles(field(t, 'bulges'), field(t, 'num_bulges'));
      e.const_width = num(field(t, 'const_width'));
      e.elevation = num(field(t, 'elevation'));
      e.extrusion = pt3(t, 'extrusion');
    },
    POLYLINE_2D: (t, e) => {
      e.flag = field(t, 'flag') | 0;
      e.elevation = num(field(t, 'elevation'));
      e.extrusion = pt3(t, 'extrusion');
      e.vertices = vertices(t, 'VERTEX_2D', (v) => ({
        point: pt3(v, 'point'), bulge: num(field(v, 'bulge')), flag: field(v, 'flag') | 0,
      }));
    },
    POLYLINE_3D: (t, e) => {
      e.flag = field(t, 'flag') | 0;
      e.vertices = vertices(t, 'VERTEX_3D', (v) => ({
        point: pt3(v, 'point'), flag: field(v, 'flag') | 0,
      }));
    },
    '3DFACE': (t, e) => {
      for (const c of ['corner1', 'corner2', 'corner3', 'corner4']) e[c] = pt3(t, c);
      e.invis_flags = field(t, 'invis_flags') | 0;
    },
    SOLID: (t, e) => {
      for (const c of ['corner1', 'corner2', 'corner3', 'corner4']) e[c] = pt2(t, c);
      e.elevation = num(field(t, 'elevation'));
      e.extrusion = pt3(t, 'extrusion');
    },
    TEXT: (t, e) => {
      textFields(t, e);
      e.text_value = text(t, 'text_value');
    },
    ATTRIB: (t, e) => {
      textFields(t, e);
      e.text_value = text(t, 'text_value');
      e.tag = text(t, 'tag');
      e.flags = field(t, 'flags') | 0;
    },
    ATTDEF: (t, e) => {
      textFields(t, e);
      e.default_value = text(t, 'default_value');
      e.tag = text(t, 'tag');
      e.prompt = text(t, 'prompt');
      e.flags = field(t, 'flags') | 0;
    },
    MTEXT: (t, e) => {
      e.ins_pt = pt3(t, 'ins_pt');
      e.x_axis_dir = pt3(t, 'x_axis_dir');
      e.text_height = num(field(t, 'text_height'));
      e.rect_width = num(field(t, 'rect_width'));
      e.attachment = field(t, 'attachment') | 0;
      e.flow_dir = field(t, 'flow_dir') | 0;
      e.linespace_factor = num(field(t, 'linespace_factor'));
      e.style = refName(field(t, 'style'));
      e.extrusion = pt3(t, 'extrusion');
      e.text = text(t, 'text');
    },
    INSERT: (t, e) => {
      e.ins_pt = pt3(t, 'ins_pt');
      e.scale = pt3(t, 'scale');
      e.rotation = num(field(t, 'rotation'));
      e.extrusion = pt3(t, 'extrusion');
      e.block_header = blockRefName(field(t, 'block_header'));
      e.attribs = attribs(t);
    },
    MINSERT: (t, e) => {
      READERS.INSERT(t, e);
      e.num_cols = field(t, 'num_cols') | 0;
      e.num_rows = field(t, 'num_rows') | 0;
      e.col_spacing = num(field(t, 'col_spacing'));
      e.row_spacing = num(field(t, 'row_spacing'));
    },
    DIMENSION_LINEAR: (t, e) => {
      dimensionFields(t, e);
      e.xline1_pt = pt3(t, 'xline1_pt');
      e.xline2_pt = pt3(t, 'xline2_pt');
      e.dim_rotation = num(field(t, 'dim_rotation'));
      e.oblique_angle = num(field(t, 'oblique_angle'));
    },
    DIMENSION_ALIGNED: (t, e) => {
      dimensionFields(t, e);
      e.xline1_pt = pt3(t, 'xline1_pt');
      e.xline2_pt = pt3(t, 'xline2_pt');
      e.oblique_angle = num(field(t, 'oblique_angle'));
    },
    DIMENSION_ORDINATE: (t, e) => {
      dimensionFields(t, e);
      e.feature_location_pt = pt3(t, 'feature_location_pt');
      e.leader_endpt = pt3(t, 'leader_endpt');
      e.flag2 = field(t, 'flag2') | 0;
    },
    DIMENSION_ANG2LN: (t, e) => {
      dimensionFields(t, e);
      for (const f of ['xline1start_pt', 'xline1end_pt', 'xline2start_pt', 'xline2end_pt'])
        e[f] = pt3(t, f);
    },
    DIMENSION_ANG3PT: (t, e) => {
      dimensionFields(t, e);
      for (const f of ['center_pt', 'xline1_pt', 'xline2_pt']) e[f] = pt3(t, f);
    },
    DIMENSION_RADIUS: (t, e) => {
      dimensionFields(t, e);
      e.first_arc_pt = pt3(t, 'first_arc_pt');
      e.leader_len = num(field(t, 'leader_len'));
    },
    DIMENSION_DIAMETER: (t, e) => {
      dimensionFields(t, e);
      e.first_arc_pt = pt3(t, 'first_arc_pt');
      e.leader_len = num(field(t, 'leader_len'));
    },
    ARC_DIMENSION: (t, e) => {
      dimensionFields(t, e);
      for (const f of ['xline1_pt', 'xline2_pt', 'center_pt']) e[f] = pt3(t, f);
    },
    SPLINE: (t, e) => {
      e.flag = field(t, 'flag') | 0;
      e.scenario = field(t, 'scenario') | 0;
      e.degree = field(t, 'degree') | 0;
      e.splineflags = field(t, 'splineflags') | 0;
      e.closed_b = field(t, 'closed_b') | 0;
      e.periodic = field(t, 'periodic') | 0;
      e.rational = field(t, 'rational') | 0;
      e.knots = doubles(field(t, 'knots'), field(t, 'num_knots'));
      const nc = count(field(t, 'num_ctrl_pts'));
      const cps = field(t, 'ctrl_pts');
      e.ctrl_pts = cps && nc
        ? Array.from(m.dwg_ptr_to_point4d_array(cps, nc), (p) => [num(p.x), num(p.y), num(p.z), num(p.w)])
        : [];
      const nf = count(field(t, 'num_fit_pts'));
      const fps = field(t, 'fit_pts');
      e.fit_pts = fps && nf ? Array.from(m.dwg_ptr_to_point3d_array(fps, nf), p3) : [];
      e.beg_tan_vec = pt3(t, 'beg_tan_vec');
      e.end_tan_vec = pt3(t, 'end_tan_vec');
    },
    HATCH: (t, e) => {
      e.name = text(t, 'name');
      e.is_solid_fill = field(t, 'is_solid_fill') | 0;
      e.is_gradient_fill = field(t, 'is_gradient_fill') | 0;
      e.pattern_type = field(t, 'pattern_type') | 0;
      e.style = field(t, 'style') | 0;
      e.angle = num(field(t, 'angle'));
      e.scale_spacing = num(field(t, 'scale_spacing'));
      e.double_flag = field(t, 'double_flag') | 0;
      e.elevation = num(field(t, 'elevation'));
      e.extrusion = pt3(t, 'extrusion');
      e.paths = hatchPaths(t);
      e.deflines = hatchDeflines(t);
    },
    LEADER: (t, e) => {
      const n = count(field(t, 'num_points'));
      const pts = field(t, 'points');
      e.points = pts && n ? Array.from(m.dwg_ptr_to_point3d_array(pts, n), p3) : [];
      e.path_type = field(t, 'path_type') | 0;
      e.annot_type = field(t, 'annot_type') | 0;
      e.arrowhead_on = field(t, 'arrowhead_on') | 0;
      e.dimstyle = refName(field(t, 'dimstyle'));
      e.extrusion = pt3(t, 'extrusion');
    },
    XLINE: (t, e) => {
      e.point = pt3(t, 'point');
      e.vector = pt3(t, 'vector');
    },
    VIEWPORT: (t, e) => {
      e.center = pt3(t, 'center');
      e.width = num(field(t, 'width'));
      e.height = num(field(t, 'height'));
      e.VIEWCTR = pt2(t, 'VIEWCTR');
      e.VIEWSIZE = num(field(t, 'VIEWSIZE'));
      e.on_off = field(t, 'on_off') | 0;
      e.status_flag = field(t, 'status_flag') | 0;
    },
  };
  READERS.TRACE = READERS.SOLID;
  READERS.RAY = READERS.XLINE;

  // One entity: its type, the common entity data, and the fields of its type when the bridge
  // reads them. Null for sub-entities (vertices, SEQEND), which their owners carry.
  function entity(obj, typeName) {
    const type = typeName ?? m.dwg_object_get_dxfname(obj);
    if (SUBENTITY_TYPES.has(type) || (!typeName && type === 'ATTRIB')) return null;
    const t = m.dwg_object_to_entity_tio(obj);
    if (!t) return null;
    const e = {
      type,
      entmode: common(t, 'entmode') | 0,
      invisible: common(t, 'invisible') | 0,
      color: color(common(t, 'color')),
      layer: refName(common(t, 'layer')),
      linewt: common(t, 'linewt') | 0,
    };
    const read = READERS[type];
    try {
      if (read) read(t, e);
    } catch (err) {
      // An entity whose fields cannot be read is passed on as such, to be counted as left out.
      return { type, entmode: e.entmode, invisible: e.invisible, unreadable: 1 };
    }
    return e;
  }

  // Entities a block owns, in order. The iteration stops at the first repeat and after as many
  // steps as the file has objects (a corrupt file can make it loop).
  const ownedEntities = (blockObj, into) => {
    const seen = new Set();
    let next = m.get_first_owned_entity(blockObj);
    for (let steps = 0; next && steps < numObjects && !seen.has(next); steps++) {
      seen.add(next);
      if (m.dwg_object_get_supertype(next) === 0) {
        const e = entity(next);
        if (e) into.push(e);
      }
      next = m.get_next_owned_entity(blockObj, next);
    }
  };

  // ---- Tables -------------------------------------------------------------------------------

  // The entries of a table control object that are objects of the entry type.
  const entriesOf = (controlType, entryType) => {
    for (let i = 0; i < numObjects; i++) {
      const obj = m.dwg_get_object(dwg, i);
      if (m.dwg_object_get_dxfname(obj) !== controlType) continue;
      const t = m.dwg_object_to_object_tio(obj);
      return refs(field(t, 'entries'), field(t, 'num_entries'))
        .map(objectOfRef)
        .filter((o) => o && m.dwg_object_get_supertype(o) === 1 &&
          m.dwg_object_get_dxfname(o) === entryType);
    }
    return [];
  };


  const colorIndex = (t, name) => {
    const c = field(t, name);
    return c && typeof c === 'object' ? c.index | 0 : c | 0;
  };

  const dimstyle = (obj) => {
    const t = m.dwg_object_to_object_tio(obj);
    const s = { name: text(t, 'name'), flag: field(t, 'flag') | 0 };
    for (const f of ['DIMTXT', 'DIMASZ', 'DIMEXE', 'DIMEXO', 'DIMGAP', 'DIMDLE', 'DIMSCALE', 'DIMTSZ', 'DIMLFAC'])
      s[f] = num(field(t, f));
    for (const f of ['DIMCLRD', 'DIMCLRE', 'DIMCLRT']) s[f] = colorIndex(t, f);
    s.DIMTAD = field(t, 'DIMTAD') | 0;
    s.DIMBLK1 = refName(field(t, 'DIMBLK1'));
    s.DIMBLK2 = refName(field(t, 'DIMBLK2'));
    s.DIMBLK = refName(field(t, 'DIMBLK'));
    s.DIMTXSTY = refName(field(t, 'DIMTXSTY'));
    return s;
  };

  const layer = (obj) => {
    const t = m.dwg_object_to_object_tio(obj);
    return {
      name: text(t, 'name'),
      flag: field(t, 'flag') | 0,
      frozen: field(t, 'frozen') | 0,
      locked: field(t, 'locked') | 0,
      color: color(field(t, 'color')),
      linewt: field(t, 'linewt') | 0,
      ltype: refName(field(t, 'ltype')),
    };
  };

  // Named blocks and anonymous ones with their entities. Model space and the active paper space
  // come as the entity list; the blocks of the other layouts ("*Paper_Space0" ...) are given with
  // "layout": 1. The "*D" blocks of dimensions come also with their dimensions.
  const block = (obj) => {
    const t = m.dwg_object_to_object_tio(obj);
    const name = blockNameOf(obj);
    const upper = name.toUpperCase();
    if (upper === '*MODEL_SPACE' || upper === '*PAPER_SPACE') return null;
    const b = {
      name,
      anonymous: field(t, 'anonymous') | 0,
      flag: field(t, 'flag') | 0,
      base_pt: pt3(t, 'base_pt'),
      entities: [],
    };
    if (upper.startsWith('*PAPER_SPACE')) b.layout = 1;
    ownedEntities(obj, b.entities);
    return b;
  };

  // The paper-space layouts in object-list order: name, tab order, whether it is the active one
  // (the block control's paper space, whose entities come in the entity list with entmode 1),
  // and the entities of the others. A DWG names every layout block "*Paper_Space".
  const layouts = () => {
    let paperSpace = 0;
    let modelSpace = 0;
    for (let i = 0; i < numObjects; i++) {
      const obj = m.dwg_get_object(dwg, i);
      if (m.dwg_object_get_dxfname(obj) !== 'BLOCK_CONTROL') continue;
      const t = m.dwg_object_to_object_tio(obj);
      paperSpace = objectOfRef(field(t, 'paper_space'));
      modelSpace = objectOfRef(field(t, 'model_space'));
      break;
    }
    const out = [];
    for (let i = 0; i < numObjects; i++) {
      const obj = m.dwg_get_object(dwg, i);
      if (m.dwg_object_get_dxfname(obj) !== 'LAYOUT') continue;
      const t = m.dwg_object_to_object_tio(obj);
      const blockObj = objectOfRef(field(t, 'block_header'));
      if (!blockObj || blockObj === modelSpace) continue;
      const l = {
        name: text(t, 'layout_name'),
        tab_order: field(t, 'tab_order') | 0,
        active: blockObj === paperSpace ? 1 : 0,
        entities: [],
      };
      if (!l.active) ownedEntities(blockObj, l.entities);
      out.push(l);
    }
    return out;
  };

  // Model-space (entmode 2) and paper-space (entmode 1) entities in object-list order.
  function* spaceEntities() {
    for (let i = 0; i < numObjects; i++) {
      const obj = m.dwg_get_object(dwg, i);
      if (m.dwg_object_get_supertype(obj) !== 0) continue;
      const t = m.dwg_object_to_entity_tio(obj);
      const mode = t ? common(t, 'entmode') | 0 : 0;
      if (mode === 1 || mode === 2) yield entity(obj);
    }
  }

  return {
    dimstyles: () => entriesOf('DIMSTYLE_CONTROL', 'DIMSTYLE').map(dimstyle),
    layers: () => entriesOf('LAYER_CONTROL', 'LAYER').map(layer),
    // null for model space and the active paper space.
    blocks: () => entriesOf('BLOCK_CONTROL', 'BLOCK_HEADER').map(block),
    layouts,
    // The model-space and paper-space entities as they are read; null for sub-entities.
    entities: () => spaceEntities(),
  };
}
